// The URL list window: its rows and count texts from a real analysis, the
// shared sort toggle, opening through the desktop (and refusing what a
// visitor must not be able to start), the popup menu, dragging, resizing,
// help, and the main window's command.
#include <QHeaderView>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QUrl>
#include <utility>
#include <vector>

#include "analysis/result.h"
#include "platform/desktop.h"
#include "ui/main/japanese_fonts.h"
#include "ui/ui_test_support.h"
#include "ui/urllist/frm_url.h"
#include "ui/urllist/url_list_model.h"

namespace vorel::ui {
namespace {

class FrmUrlTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    settings::SetParam("VisibleWindow", 0);
  }

  void TearDown() override {
    form.reset();
    UiTest::TearDown();
  }

  // Writes a log in which each referrer is logged as often as given and runs
  // a new analysis of it, all dates and all pages.
  void Analyse(const std::vector<std::pair<std::string, int>>& referrers) {
    std::string text;
    int n = 0;
    for (const auto& [referrer, times] : referrers)
      for (int i = 0; i < times; ++i, ++n)
        text += "1#(index)2024/02/" + std::to_string(1 + n % 28) +
                " 10:00:00\r\n2#Mozilla/4.0 (compatible; MSIE 6.0; Windows 98)\r\n3#" + referrer + "\r\n4#pc.site" +
                std::to_string(n % 3) + ".ne.jp(10.0.0." + std::to_string(n % 3) + ")\r\n";
    UseLog(dir.Write("access.log", testing::Sjis(text)));
    ASSERT_TRUE(analysis::AnalyzeLog(0));
  }

  frmUrl& OpenForm() {
    form = std::make_unique<frmUrl>();
    form->show();
    return *form;
  }

  QTreeView* List() const { return form->findChild<QTreeView*>(QStringLiteral("lsvUrlList")); }
  QPushButton* Button(const char* name) const { return form->findChild<QPushButton*>(QString::fromLatin1(name)); }

  QString Cell(int row, int column) const { return List()->model()->index(row, column).data().toString(); }
  QStringList Column(int column) const {
    QStringList texts;
    for (int row = 0; row < List()->model()->rowCount(); ++row) texts << Cell(row, column);
    return texts;
  }

  // A left click on a header section, as the mouse makes it.
  void ClickHeader(int section) {
    QHeaderView* header = List()->header();
    const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2, header->height() / 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, header->viewport()->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(header->viewport(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, header->viewport()->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(header->viewport(), &release);
  }

  QPoint RowCentre(int row) const { return List()->visualRect(List()->model()->index(row, 0)).center(); }

  void PressOnRow(int row, Qt::MouseButton button) {
    const QPoint at = RowCentre(row);
    QWidget* viewport = List()->viewport();
    QMouseEvent press(QEvent::MouseButtonPress, at, viewport->mapToGlobal(at), button, button, Qt::NoModifier);
    QApplication::sendEvent(viewport, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, viewport->mapToGlobal(at), button, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(viewport, &release);
  }

  void SelectRow(int row) { PressOnRow(row, Qt::LeftButton); }

  platform::ScriptedDesktop desktop;
  platform::ScopedDesktop scopedDesktop{desktop};
  std::unique_ptr<frmUrl> form;
};

TEST_F(FrmUrlTest, ListsTheReferrersLargestCountFirstWithHeadersAndButtonsAsDesigned) {
  Analyse({{"http://b.example.jp/", 2}, {"http://www.example.jp/link.html", 3}, {"http://a.example.jp/", 2}, {"", 4}});
  frmUrl& f = OpenForm();
  EXPECT_EQ(f.windowTitle(), QStringLiteral("前画面ＵＲＬ一覧"));
  QTreeView* list = List();
  ASSERT_NE(list, nullptr);
  QAbstractItemModel* model = list->model();
  ASSERT_EQ(model->columnCount(), 2);
  EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("ＵＲＬ"));
  EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("アクセス数"));
  EXPECT_EQ(model->headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask,
            Qt::AlignLeft);
  EXPECT_EQ(model->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask,
            Qt::AlignRight);
  EXPECT_EQ(model->index(0, 1).data(Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
  EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);

  // An access without a referrer adds no row; ties stand in ascending order of URL.
  EXPECT_EQ(Column(0), (QStringList{"http://www.example.jp/link.html", "http://a.example.jp/", "http://b.example.jp/"}));
  EXPECT_EQ(Column(1), (QStringList{"3", "2", "2"}));
  EXPECT_TRUE(list->isEnabled());
  EXPECT_TRUE(Button("cmdOpen")->isEnabled());
  // The first row starts selected, so Enter opens the most frequent referrer.
  ASSERT_EQ(list->selectionModel()->selectedRows().size(), 1);
  EXPECT_EQ(list->selectionModel()->selectedRows()[0].row(), 0);

  EXPECT_EQ(Button("cmdOpen")->text(), QStringLiteral("ＵＲＬを開く(&O)"));
  EXPECT_TRUE(Button("cmdOpen")->isDefault());
  EXPECT_EQ(Button("cmdEnd")->text(), QStringLiteral("閉じる(&C)"));
  EXPECT_EQ(Button("cmdHelp")->text(), QStringLiteral("ヘルプ(&H)"));
  for (QWidget* control : std::initializer_list<QWidget*>{list, Button("cmdOpen"), Button("cmdEnd"), Button("cmdHelp")})
    EXPECT_FALSE(control->accessibleName().isEmpty()) << control->objectName().toStdString();
}

TEST_F(FrmUrlTest, OneReferrerLoggedThreeTimesIsOneRowCountingThree) {
  Analyse({{"http://www.example.jp/link.html", 3}});
  OpenForm();
  EXPECT_EQ(Column(0), QStringList{"http://www.example.jp/link.html"});
  EXPECT_EQ(Column(1), QStringList{"3"});

  Button("cmdOpen")->click();
  EXPECT_EQ(desktop.opened, std::vector<std::string>{"http://www.example.jp/link.html"});
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_TRUE(form->isVisible());
}

TEST_F(FrmUrlTest, CountsArePaddedToTheWidthOfTheLargestInBothSortOrders) {
  Analyse({{"http://seven.example.jp/", 7}, {"http://twelve.example.jp/", 12}, {"http://many.example.jp/", 105}});
  frmUrl& f = OpenForm();
  EXPECT_EQ(Column(1), (QStringList{"105", " 12", "  7"}));
  EXPECT_EQ(f.SortOrder(), 0);

  ClickHeader(1);
  EXPECT_EQ(f.SortOrder(), 1);
  EXPECT_EQ(Column(1), (QStringList{"105", " 12", "  7"}));
  EXPECT_EQ(List()->header()->sortIndicatorOrder(), Qt::DescendingOrder);

  ClickHeader(1);
  EXPECT_EQ(f.SortOrder(), 0);
  EXPECT_EQ(Column(1), (QStringList{"  7", " 12", "105"}));
  EXPECT_EQ(Column(0), (QStringList{"http://seven.example.jp/", "http://twelve.example.jp/", "http://many.example.jp/"}));
  EXPECT_EQ(List()->header()->sortIndicatorOrder(), Qt::AscendingOrder);

  EXPECT_EQ(CountFieldWidth(0), 1);
  EXPECT_EQ(CountFieldWidth(2147483647), 10);
  EXPECT_EQ(CountText(0, 3), QStringLiteral("  0"));
}

TEST_F(FrmUrlTest, OneToggleSharedByBothHeadersAndUrlsSortIgnoringLetterCase) {
  Analyse({{"http://B.example.jp/", 1}, {"http://a.example.jp/", 2}, {"http://c.example.jp/", 3}});
  frmUrl& f = OpenForm();
  // The selected row follows its URL through the sorts.
  SelectRow(1);
  ASSERT_EQ(Cell(List()->currentIndex().row(), 0), QStringLiteral("http://a.example.jp/"));

  ClickHeader(0);
  EXPECT_EQ(f.SortOrder(), 1);
  EXPECT_EQ(Column(0), (QStringList{"http://c.example.jp/", "http://B.example.jp/", "http://a.example.jp/"}));
  EXPECT_EQ(List()->header()->sortIndicatorSection(), 0);

  ClickHeader(1);
  EXPECT_EQ(f.SortOrder(), 0);
  EXPECT_EQ(Column(0), (QStringList{"http://B.example.jp/", "http://a.example.jp/", "http://c.example.jp/"}));
  EXPECT_EQ(Column(1), (QStringList{"1", "2", "3"}));
  EXPECT_EQ(List()->header()->sortIndicatorSection(), 1);

  ClickHeader(0);
  EXPECT_EQ(Column(0), (QStringList{"http://c.example.jp/", "http://B.example.jp/", "http://a.example.jp/"}));
  ClickHeader(0);
  EXPECT_EQ(Column(0), (QStringList{"http://a.example.jp/", "http://B.example.jp/", "http://c.example.jp/"}));

  const QModelIndexList selected = List()->selectionModel()->selectedRows();
  ASSERT_EQ(selected.size(), 1);
  EXPECT_EQ(Cell(selected[0].row(), 0), QStringLiteral("http://a.example.jp/"));
  Button("cmdOpen")->click();
  EXPECT_EQ(desktop.opened, std::vector<std::string>{"http://a.example.jp/"});
}

TEST_F(FrmUrlTest, AddressesThatAreNoWebOrFtpAddressNeverReachTheDesktop) {
  Analyse({{"file:///etc/passwd", 3}, {"javascript:alert(1)", 2}, {"/usr/bin/xterm", 1}});
  OpenForm();
  ASSERT_EQ(Column(0), (QStringList{"file:///etc/passwd", "javascript:alert(1)", "/usr/bin/xterm"}));
  for (int row = 0; row < 3; ++row) {
    SelectRow(row);
    prompter.messages.clear();
    // The button, the popup item and Enter all lead to the same refusal.
    Button("cmdOpen")->click();
    form->mnuPopupOpen->trigger();
    PressKey(List(), Qt::Key_Return);
    ASSERT_EQ(prompter.messages.size(), 3u) << row;
    for (const platform::MessageRequest& message : prompter.messages) {
      EXPECT_EQ(message.title, "エラー");
      EXPECT_EQ(message.icon, platform::MessageIcon::Error);
      // The refused text stands on a line of its own.
      EXPECT_NE(message.text.find("\r\n" + Cell(row, 0).toStdString()), std::string::npos) << message.text;
    }
  }
  EXPECT_TRUE(desktop.opened.empty());
  EXPECT_TRUE(desktop.started.empty());
  EXPECT_TRUE(form->isVisible());
}

TEST_F(FrmUrlTest, NoSelectedRowOrAFailedStartIsReportedAndTheWindowStaysOpen) {
  Analyse({{"http://www.example.jp/", 1}});
  OpenForm();
  List()->selectionModel()->clearSelection();
  Button("cmdOpen")->click();
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].title, "エラー");
  EXPECT_EQ(prompter.messages[0].icon, platform::MessageIcon::Error);
  EXPECT_TRUE(desktop.opened.empty());

  desktop.openSucceeds = false;
  SelectRow(0);
  Button("cmdOpen")->click();
  EXPECT_EQ(desktop.opened, std::vector<std::string>{"http://www.example.jp/"});
  ASSERT_EQ(prompter.messages.size(), 2u);
  EXPECT_EQ(prompter.messages[1].title, "エラー");
  EXPECT_NE(prompter.messages[1].text.find("\r\nhttp://www.example.jp/"), std::string::npos);
  EXPECT_TRUE(form->isVisible());
}

TEST_F(FrmUrlTest, AHugeReferrerIsCutShortInTheMessage) {
  const std::string huge = "javascript:" + std::string(5000, 'x');
  Analyse({{huge, 1}});
  OpenForm();
  Button("cmdOpen")->click();
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_LT(prompter.messages[0].text.size(), 400u);
  EXPECT_NE(prompter.messages[0].text.find("javascript:xxx"), std::string::npos);
  EXPECT_TRUE(desktop.opened.empty());
}

TEST_F(FrmUrlTest, AnEmptyTableDisablesTheListAndTheButtonAndCloseStillWorks) {
  frmUrl& f = OpenForm();
  EXPECT_EQ(List()->model()->rowCount(), 0);
  EXPECT_FALSE(List()->isEnabled());
  EXPECT_FALSE(Button("cmdOpen")->isEnabled());
  EXPECT_TRUE(Button("cmdEnd")->isEnabled());
  PressKey(List(), Qt::Key_Return);
  EXPECT_TRUE(desktop.opened.empty());
  Button("cmdEnd")->click();
  EXPECT_FALSE(f.isVisible());
  EXPECT_EQ(f.result(), QDialog::Rejected);
}

TEST_F(FrmUrlTest, EscapeClosesTheWindow) {
  Analyse({{"http://www.example.jp/", 1}});
  frmUrl& f = OpenForm();
  PressKey(&f, Qt::Key_Escape);
  EXPECT_FALSE(f.isVisible());
  EXPECT_TRUE(desktop.opened.empty());
}

TEST_F(FrmUrlTest, TheRightButtonShowsThePopupWhoseItemOpensTheRowUnderTheMouse) {
  Analyse({{"http://first.example.jp/", 2}, {"https://second.example.jp/page?q=1", 1}});
  OpenForm();
  auto* popup = form->findChild<QMenu*>(QStringLiteral("mnuPopup"));
  ASSERT_NE(popup, nullptr);
  ASSERT_EQ(popup->actions().size(), 1);
  EXPECT_EQ(popup->actions()[0]->objectName(), QStringLiteral("mnuPopupOpen"));
  EXPECT_EQ(popup->actions()[0]->text(), QStringLiteral("ＵＲＬを開く"));
  EXPECT_FALSE(popup->isVisible());

  PressOnRow(1, Qt::RightButton);
  QContextMenuEvent menu(QContextMenuEvent::Mouse, RowCentre(1), List()->viewport()->mapToGlobal(RowCentre(1)));
  QApplication::sendEvent(List()->viewport(), &menu);
  EXPECT_TRUE(popup->isVisible());
  popup->actions()[0]->trigger();
  popup->hide();
  EXPECT_EQ(desktop.opened, std::vector<std::string>{"https://second.example.jp/page?q=1"});
}

TEST_F(FrmUrlTest, ADraggedRowCarriesItsUrlAsALinkOnly) {
  Analyse({{"http://www.example.jp/a b.html", 2}, {"javascript:alert(1)", 1}});
  OpenForm();
  QTreeView* list = List();
  EXPECT_TRUE(list->dragEnabled());
  EXPECT_EQ(list->dragDropMode(), QAbstractItemView::DragOnly);
  EXPECT_EQ(list->model()->supportedDragActions(), Qt::DropActions(Qt::LinkAction));
  EXPECT_EQ(list->defaultDropAction(), Qt::LinkAction);
  EXPECT_TRUE(list->model()->flags(list->model()->index(0, 0)) & Qt::ItemIsDragEnabled);

  SelectRow(0);
  std::unique_ptr<QMimeData> link(list->model()->mimeData(list->selectionModel()->selectedIndexes()));
  ASSERT_NE(link, nullptr);
  EXPECT_TRUE(link->hasFormat(QStringLiteral("text/uri-list")));
  ASSERT_EQ(link->urls().size(), 1);
  EXPECT_EQ(link->urls()[0], QUrl(QStringLiteral("http://www.example.jp/a%20b.html")));
  EXPECT_EQ(link->text(), QStringLiteral("http://www.example.jp/a b.html"));

  // A script address travels as text only, never as a link a receiver would follow.
  SelectRow(1);
  std::unique_ptr<QMimeData> text(list->model()->mimeData(list->selectionModel()->selectedIndexes()));
  ASSERT_NE(text, nullptr);
  EXPECT_FALSE(text->hasUrls());
  EXPECT_EQ(text->text(), QStringLiteral("javascript:alert(1)"));
}

TEST_F(FrmUrlTest, ResizingPlacesTheControlsAndANarrowWindowKeepsTheListWidth) {
  Analyse({{"http://www.example.jp/", 1}});
  frmUrl& f = OpenForm();
  const int openLeft = Button("cmdOpen")->x();
  f.resize(600, 400);
  f.Form_Resize();
  EXPECT_EQ(List()->width(), (600 * 15 - 200) / 15);
  EXPECT_EQ(List()->height(), (400 * 15 - 600) / 15);
  for (const char* name : {"cmdOpen", "cmdEnd", "cmdHelp"}) EXPECT_EQ(Button(name)->y(), (400 * 15 - 400) / 15);
  EXPECT_EQ(Button("cmdEnd")->x(), (600 * 15 - 2460) / 15);
  EXPECT_EQ(Button("cmdHelp")->x(), (600 * 15 - 1140) / 15);
  EXPECT_EQ(Button("cmdOpen")->x(), openLeft);

  // Narrower than 200 twips: the width stays, the height still follows.
  f.resize(10, 300);
  f.Form_Resize();
  ASSERT_LT(f.width() * 15, 200);
  EXPECT_EQ(List()->width(), (600 * 15 - 200) / 15);
  EXPECT_EQ(List()->height(), (300 * 15 - 600) / 15);
  EXPECT_EQ(Button("cmdEnd")->x(), (600 * 15 - 2460) / 15);
  EXPECT_EQ(Button("cmdHelp")->x(), (600 * 15 - 1140) / 15);
}

TEST_F(FrmUrlTest, HelpShowsTopicEightyEightOrReportsAMissingHelpFile) {
  OpenForm();
  Button("cmdHelp")->click();
  QWidget* help = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QLatin1String("frmHelp") && w->isVisible()) help = w;
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(prompter.messages.empty());
  help->close();

  platform::SetHelpFile(dir.File("missing.hlp"));
  Button("cmdHelp")->click();
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].title, "エラー");
  EXPECT_NE(prompter.messages[0].text.find(dir.File("missing.hlp")), std::string::npos);
  EXPECT_TRUE(form->isVisible());
}

TEST_F(FrmUrlTest, TheMainWindowOpensTheListModallyOnceAnAnalysisHasData) {
  frmMain& main = OpenFrame();
  EXPECT_FALSE(Enabled("mnuEditUrlList"));
  EXPECT_FALSE(Enabled("UrlList"));

  std::string text;
  for (int i = 0; i < 3; ++i)
    text += "1#(index)2024/03/0" + std::to_string(i + 1) +
            " 10:00:00\r\n2#Mozilla/4.0\r\n3#http://www.example.jp/link.html\r\n4#pc.example.ne.jp(10.0.0.1)\r\n";
  UseLog(dir.Write("three.log", testing::Sjis(text)));
  main.AnalizeItem(0)->trigger();
  ASSERT_TRUE(Enabled("mnuEditUrlList"));
  ASSERT_TRUE(Enabled("UrlList"));

  QString caption;
  QStringList rows;
  bool modal = false;
  QWidget* owner = nullptr;
  QTimer::singleShot(0, [&] {
    auto* shown = qobject_cast<frmUrl*>(QApplication::activeModalWidget());
    ASSERT_NE(shown, nullptr);
    caption = shown->windowTitle();
    modal = shown->isModal();
    owner = shown->parentWidget();
    auto* list = shown->findChild<QTreeView*>(QStringLiteral("lsvUrlList"));
    for (int row = 0; row < list->model()->rowCount(); ++row)
      rows << list->model()->index(row, 0).data().toString() + QLatin1Char('|') +
                  list->model()->index(row, 1).data().toString();
    shown->findChild<QPushButton*>(QStringLiteral("cmdEnd"))->click();
  });
  main.ToolbarButton("UrlList")->trigger();
  EXPECT_EQ(caption, QStringLiteral("前画面ＵＲＬ一覧"));
  EXPECT_TRUE(modal);
  EXPECT_EQ(owner, &main);
  EXPECT_EQ(rows, QStringList{"http://www.example.jp/link.html|3"});
  EXPECT_TRUE(desktop.opened.empty());
}

}  // namespace
}  // namespace vorel::ui

namespace vorel::ui {
namespace {

// A picture of the window with the bundled sample analysed, in the build
// folder (url-list.png), for looking at it without a screen.
TEST_F(FrmUrlTest, PictureWithTheSampleAnalysed) {
  InstallJapaneseFonts();
  UseLog(std::string(VOREL_SOURCE_DIR) + "/data/sample-access.log");
  ASSERT_TRUE(analysis::AnalyzeLog(0));
  frmUrl& f = OpenForm();
  ASSERT_GT(analysis::ResultCount(23), 0);
  EXPECT_EQ(List()->model()->rowCount(), analysis::ResultCount(23));
  ClickHeader(1);
  QApplication::processEvents();
  // Every caption fits its button.
  for (const char* name : {"cmdOpen", "cmdEnd", "cmdHelp"})
    EXPECT_LE(Button(name)->fontMetrics().horizontalAdvance(Button(name)->text().remove(QLatin1Char('&'))),
              Button(name)->width())
        << name;
  const QImage image = f.grab().toImage();
  EXPECT_TRUE(image.save(QStringLiteral(VOREL_BINARY_DIR "/url-list.png")));
}

}  // namespace
}  // namespace vorel::ui
