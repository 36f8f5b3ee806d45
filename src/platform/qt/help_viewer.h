// The program's help: its Japanese help pages compiled into one Qt resource
// bundle, the help file "vorel.hlp" beside the program. Start-up registers
// the file; every help button asks for a topic by its context number and the
// help menu for the contents. The pages open in the program's help window.
#pragma once

#include <string>

class QWidget;

namespace vorel::platform {

// The help file every help command uses (start-up: the program's folder and "vorel.hlp").
void SetHelpFile(std::string path);
std::string HelpFile();

// The help file in the program's folder.
std::string DefaultHelpFilePath();

// Opens the help window at the contents page. A missing or unreadable help
// file is shown as its description under "エラー"; false then.
bool ShowHelpContents(QWidget* owner);

// Opens the help window at the topic of a context number (47, 71, 77, 88,
// 104, 120, 139). A missing file or topic is reported as above; false then.
bool ShowHelpTopic(QWidget* owner, int context);

}  // namespace vorel::platform
