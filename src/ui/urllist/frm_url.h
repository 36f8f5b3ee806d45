// The window "前画面ＵＲＬ一覧": every referring page of the last analysis as
// it was logged, with its access count, opened in the browser on request.
// The main window shows it modally.
#pragma once

#include <QDialog>
#include <cstdint>

class QAction;
class QMenu;
class QPushButton;
class QTreeView;

namespace vorel::ui {

class UrlListModel;

class frmUrl : public QDialog {
  Q_OBJECT
 public:
  // Creates the controls and fills the list (Form_Load).
  explicit frmUrl(QWidget* owner = nullptr);

  // Rebuilds the list from the result's Url table: the largest count first.
  // An empty table leaves the list and cmdOpen disabled.
  void FillUrlList();

  // Event handlers, callable directly.
  void lsvUrlList_ColumnClick(int column);
  void cmdOpen_Click();
  void cmdEnd_Click();
  void cmdHelp_Click();
  void mnuPopupOpen_Click();
  // Places the controls for the client area's size.
  void Form_Resize();

  // The sort direction: 1 descending, 0 ascending (the last header click).
  int16_t SortOrder() const { return sortOrder_; }
  UrlListModel* Model() const { return model_; }

  QTreeView* lsvUrlList;
  QPushButton* cmdOpen;
  QPushButton* cmdEnd;
  QPushButton* cmdHelp;
  QMenu* mnuPopup;
  QAction* mnuPopupOpen;

  // Client size as designed, in twips.
  static constexpr int kWidthTwips = 8400;
  static constexpr int kHeightTwips = 5400;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void CreateControls();
  // Opens the selected row's URL through the desktop; reports what stops it.
  void OpenSelectedUrl();
  void ShowPopup(const QPoint& position);

  UrlListModel* model_ = nullptr;
  int16_t sortOrder_ = 0;
};

}  // namespace vorel::ui
