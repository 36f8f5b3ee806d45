#include "ui/main/repeat_log_question.h"

#include "platform/prompter.h"
#include "ui/main/frm_main.h"
#include "ui/results/analysed_logs.h"

namespace vorel::ui {

bool MayAddLogAgain(platform::Prompter& prompter, const std::string& path) {
  if (!IsLogAnalysed(path)) return true;
  return prompter.ShowMessage({path + "\r\n" + kLogAlreadyAnalysedQuestion, kProgramTitle,
                               platform::MessageIcon::Question, platform::MessageButtons::YesNo,
                               platform::MessageAnswer::No}) == platform::MessageAnswer::Yes;
}

}  // namespace vorel::ui
