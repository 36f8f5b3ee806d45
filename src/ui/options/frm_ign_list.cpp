#include "ui/options/frm_ign_list.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>

#include "analysis/class_lists.h"
#include "analysis/result.h"
#include "platform/data_files.h"
#include "platform/desktop.h"
#include "platform/prompter.h"
#include "platform/qt/help_viewer.h"
#include "ui/options/control_naming.h"

namespace vorel::ui {
namespace {

constexpr int kTwipsPerPixel = 15;
constexpr int kHelpContext = 120;
// Layout in twips: the text box's margins, the buttons' row and places.
constexpr int kMargin = 100;
constexpr int kButtonWidth = 1035;
constexpr int kButtonHeight = 375;

int Pixels(int twips) { return twips / kTwipsPerPixel; }

}  // namespace

// An installed program edits a per-user copy, made on first use; a portable
// one edits the file beside it.
std::string ClassFileToEdit() { return platform::EditableClassificationFile(); }

std::string HostListText() {
  const int count = analysis::ResultCount(29);
  if (count <= 0) return "設定されている項目はありません。";
  std::string text;
  for (int i = 1; i <= count; ++i) text += analysis::ResultName(30, i) + "\r\n";
  return text;
}

void EditClassFile() {
  const std::string path = ClassFileToEdit();
  if (path.empty()) return;  // the copy could not be made; that has been reported
  platform::Desktop& desktop = platform::CurrentDesktop();
  bool started = false;
  if (desktop.FindAssociatedProgram(path)) {
    started = desktop.Open(path);
    if (!started) platform::ShowError("解析情報ファイルを開けませんでした。\r\n" + path);
  } else if (const std::optional<std::string> editor = desktop.FindTextEditor(); editor && desktop.StartProgram(*editor, {path})) {
    started = true;
  } else {
    platform::ShowError("解析情報ファイルを開くテキストエディタが見つかりませんでした。\r\n" + path +
                        "\r\nテキストエディタでこのファイルを開いて編集してください。");
  }
  if (!started) return;
  // The file is read once at start-up, so an edit counts from the next start.
  platform::MessageRequest notice;
  notice.text = kRestartNotice;
  notice.title = "確認";
  notice.icon = platform::MessageIcon::Information;
  platform::CurrentPrompter().ShowMessage(notice);
}

frmIgnList::frmIgnList(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("frmIgnList"));
  setWindowTitle(QStringLiteral("ホスト名一覧"));

  txtIgnList = new QPlainTextEdit(this);
  Name(txtIgnList, "txtIgnList", QStringLiteral("ホスト名一覧"));
  txtIgnList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  txtIgnList->setLineWrapMode(QPlainTextEdit::NoWrap);
  // Nothing typed here would be used: the list is for reading.
  txtIgnList->setReadOnly(true);
  txtIgnList->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
  txtIgnList->move(Pixels(kMargin), Pixels(kMargin));

  cmdEdit = new QPushButton(QStringLiteral("編集(&E)"), this);
  Name(cmdEdit, "cmdEdit", cmdEdit->text());
  cmdEdit->setAccessibleDescription(QStringLiteral("解析情報ファイルをエディタで開きます"));
  cmdClose = new QPushButton(QStringLiteral("閉じる(&C)"), this);
  Name(cmdClose, "cmdClose", cmdClose->text());
  cmdClose->setDefault(true);
  cmdHelp = new QPushButton(QStringLiteral("ヘルプ(&H)"), this);
  Name(cmdHelp, "cmdHelp", cmdHelp->text());
  for (QPushButton* button : {cmdEdit, cmdClose, cmdHelp}) button->resize(Pixels(kButtonWidth), Pixels(kButtonHeight));
  cmdEdit->move(Pixels(kMargin), 0);
  setTabOrder(txtIgnList, cmdEdit);
  setTabOrder(cmdEdit, cmdClose);
  setTabOrder(cmdClose, cmdHelp);

  connect(cmdEdit, &QPushButton::clicked, this, &frmIgnList::cmdEdit_Click);
  connect(cmdClose, &QPushButton::clicked, this, &frmIgnList::cmdClose_Click);
  connect(cmdHelp, &QPushButton::clicked, this, &frmIgnList::cmdHelp_Click);

  // Wide enough for the three buttons side by side, as the resizing places them.
  setMinimumSize(Pixels(kMargin + kButtonWidth + 2460 + 60), Pixels(600 + 1200));
  resize(Pixels(5400), Pixels(4500));

  txtIgnList->setPlainText(QString::fromStdString(HostListText()));
}

void frmIgnList::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  Form_Resize();
}

void frmIgnList::Form_Resize() {
  const QRect client = contentsRect();
  const int width = client.width() * kTwipsPerPixel;
  const int height = client.height() * kTwipsPerPixel;
  if (width - 200 > 0) txtIgnList->resize(Pixels(width - 200), txtIgnList->height());
  if (height - 600 > 0) txtIgnList->resize(txtIgnList->width(), Pixels(height - 600));
  if (height - 400 > 0)
    for (QPushButton* button : {cmdEdit, cmdClose, cmdHelp}) button->move(button->x(), Pixels(height - 400));
  if (width - 2460 > 0) cmdClose->move(Pixels(width - 2460), cmdClose->y());
  if (width - 1140 > 0) cmdHelp->move(Pixels(width - 1140), cmdHelp->y());
}

void frmIgnList::cmdEdit_Click() { EditClassFile(); }

void frmIgnList::cmdClose_Click() { accept(); }

void frmIgnList::cmdHelp_Click() { platform::ShowHelpTopic(this, kHelpContext); }

}  // namespace vorel::ui
