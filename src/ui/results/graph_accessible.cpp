#include "ui/results/graph_accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <vector>

#include "ui/results/graph_picture.h"

namespace vorel::ui {
namespace {

// One drawn column or bar. It holds no data of its own: it reads its
// picture at every question, so it never shows a stale count.
class GraphEntryAccessible : public QAccessibleInterface {
 public:
  GraphEntryAccessible(GraphPicture* picture, int index) : picture_(picture), index_(index) {}

  bool isValid() const override {
    return picture_ && index_ < static_cast<int>(picture_->entries().size());
  }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return picture_ ? picture_->window()->windowHandle() : nullptr; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(picture_.data()); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QString text(QAccessible::Text t) const override {
    if (!isValid() || t != QAccessible::Name) return QString();
    return picture_->entries()[static_cast<size_t>(index_)].text;
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    if (!isValid()) return QRect();
    const QRect box = picture_->VisibleBox(static_cast<size_t>(index_));
    return QRect(picture_->mapToGlobal(box.topLeft()), box.size());
  }
  QAccessible::Role role() const override { return QAccessible::ListItem; }
  QAccessible::State state() const override {
    QAccessible::State s;
    if (!isValid()) {
      s.invalid = true;
      return s;
    }
    s.focusable = true;
    s.selectable = true;
    s.readOnly = true;
    const bool current = picture_->currentEntry() == index_;
    s.selected = current;
    s.focused = current && picture_->hasFocus();
    return s;
  }

 private:
  QPointer<GraphPicture> picture_;
  int index_;
};

// The picture as a list of its entries. Item interfaces are made once per
// index and kept, so that listeners can hold on to them between questions.
class GraphPictureAccessible : public QAccessibleWidget {
 public:
  explicit GraphPictureAccessible(GraphPicture* picture) : QAccessibleWidget(picture, QAccessible::List) {}
  ~GraphPictureAccessible() override {
    for (QAccessible::Id id : items_) QAccessible::deleteAccessibleInterface(id);
  }

  int childCount() const override { return static_cast<int>(Picture()->entries().size()); }
  QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= childCount()) return nullptr;
    while (static_cast<int>(items_.size()) <= index) {
      auto* item = new GraphEntryAccessible(Picture(), static_cast<int>(items_.size()));
      items_.push_back(QAccessible::registerAccessibleInterface(item));
    }
    return QAccessible::accessibleInterface(items_[static_cast<size_t>(index)]);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (size_t i = 0; i < items_.size(); ++i)
      if (QAccessible::accessibleInterface(items_[i]) == child) return static_cast<int>(i);
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    const QPoint local = Picture()->mapFromGlobal(QPoint(x, y));
    const auto& entries = Picture()->entries();
    for (size_t i = 0; i < entries.size(); ++i)
      if (Picture()->VisibleBox(i).contains(local)) return child(static_cast<int>(i));
    return nullptr;
  }
  QAccessibleInterface* focusChild() const override {
    if (!Picture()->hasFocus() || Picture()->currentEntry() < 0) return nullptr;
    return child(Picture()->currentEntry());
  }

 private:
  GraphPicture* Picture() const { return static_cast<GraphPicture*>(widget()); }
  mutable std::vector<QAccessible::Id> items_;
};

QAccessibleInterface* GraphFactory(const QString& className, QObject* object) {
  if (className == QLatin1String("vorel::ui::GraphPicture") && object && object->isWidgetType())
    return new GraphPictureAccessible(static_cast<GraphPicture*>(object));
  return nullptr;
}

}  // namespace

void InstallGraphAccessibility() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(GraphFactory);
}

void GraphEntriesChanged(GraphPicture* picture) {
  if (!QAccessible::isActive()) return;
  QAccessibleEvent reorder(picture, QAccessible::ObjectReorder);
  QAccessible::updateAccessibility(&reorder);
  QAccessibleEvent names(picture, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&names);
}

void GraphEntryFocused(GraphPicture* picture, int index) {
  if (!QAccessible::isActive()) return;
  QAccessibleEvent focus(picture, QAccessible::Focus);
  focus.setChild(index);
  QAccessible::updateAccessibility(&focus);
  QAccessibleEvent selection(picture, QAccessible::Selection);
  selection.setChild(index);
  QAccessible::updateAccessibility(&selection);
}

}  // namespace vorel::ui
