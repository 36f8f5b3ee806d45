// The options dialog's chooser of the TimeZone setting: an editable combo box
// offering this computer's zone, the times as logged, and every zone name of
// the system's tz database; any name or offset can also be typed.
#pragma once

#include <string>
#include <string_view>

class QComboBox;

namespace vorel::ui {

inline constexpr const char* kComputerZoneCaption = "このコンピューターの時刻";
inline constexpr const char* kLoggedTimeCaption = "ログの時刻のまま";

// Fills the box with its choices.
void FillTimeZoneChoices(QComboBox* box);

// Shows a setting: one of the two words by its caption, anything else as written.
void ShowTimeZoneSetting(QComboBox* box, std::string_view setting);

// The setting the box shows: "" and "log" for the two captions, otherwise the
// text as chosen or typed, trimmed.
std::string TimeZoneSettingOf(const QComboBox* box);

}  // namespace vorel::ui
