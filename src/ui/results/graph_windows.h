// The twelve members of the graph family. Each names its kind and offers
// the members the rest of the program calls, under its own prefix ("aao" is
// both frmOs's and frmAgent's; each belongs to its own window). Everything
// is done by GraphWindow; open one with GraphWindow::Create.
#pragma once

#include <cstdint>

#include "ui/results/graph_window.h"

namespace vorel::ui {

class frmMonth : public GraphWindow {
  Q_OBJECT
  Q_PROPERTY(bool aamShowMe READ aamShowMe)
 public:
  bool aamShowMe() const { return ShowMe(); }
  Q_INVOKABLE void aamSetMonthValues() { SetValues(); }
  void aamGraphPrint(QPainter& target, int32_t left, int32_t top, int32_t width, int32_t height) {
    GraphPrint(target, left, top, width, height);
  }
  void aamSetColor(uint32_t fore, uint32_t back, uint32_t bar) { SetColor(fore, back, bar); }

 protected:
  explicit frmMonth(QWidget* parent) : GraphWindow(GraphKind::Month, parent) {}
  friend class GraphWindow;
};

class frmWWeek : public GraphWindow {
  Q_OBJECT
  Q_PROPERTY(bool aaeShowMe READ aaeShowMe)
 public:
  bool aaeShowMe() const { return ShowMe(); }
  Q_INVOKABLE void aaeSetWWeekValues() { SetValues(); }
  void aaeGraphPrint(QPainter& target, int32_t left, int32_t top, int32_t width, int32_t height) {
    GraphPrint(target, left, top, width, height);
  }
  void aaeSetColor(uint32_t fore, uint32_t back, uint32_t bar) { SetColor(fore, back, bar); }

 protected:
  explicit frmWWeek(QWidget* parent) : GraphWindow(GraphKind::WWeek, parent) {}
  friend class GraphWindow;
};

class frmDWeek : public GraphWindow {
  Q_OBJECT
  Q_PROPERTY(bool aawShowMe READ aawShowMe)
 public:
  bool aawShowMe() const { return ShowMe(); }
  Q_INVOKABLE void aawSetDWeekValues() { SetValues(); }
  void aawGraphPrint(QPainter& target, int32_t left, int32_t top, int32_t width, int32_t height) {
    GraphPrint(target, left, top, width, height);
  }
  void aawSetColor(uint32_t fore, uint32_t back, uint32_t bar) { SetColor(fore, back, bar); }

 protected:
  explicit frmDWeek(QWidget* parent) : GraphWindow(GraphKind::DWeek, parent) {}
  friend class GraphWindow;
};

class frmDate : public GraphWindow {
  Q_OBJECT
  Q_PROPERTY(bool aadShowMe READ aadShowMe)
 public:
  bool aadShowMe() const { return ShowMe(); }
  Q_INVOKABLE void aadSetDateValues() { SetValues(); }
  void aadGraphPrint(QPainter& target, int32_t left, int32_t top, int32_t width, int32_t height) {
    GraphPrint(target, left, top, width, height);
  }
  void aadSetColor(uint32_t fore, uint32_t back, uint32_t bar) { SetColor(fore, back, bar); }

 protected:
  explicit frmDate(QWidget* parent) : GraphWindow(GraphKind::Date, parent) {}
  friend class GraphWindow;
};

class frmTime : public GraphWindow {
  Q_OBJECT
  Q_PROPERTY(bool aatShowMe READ aatShowMe)
 public:
  bool aatShowMe() const { return ShowMe(); }
  Q_INVOKABLE void aatSetTimeValues() { SetValues(); }
  void aatGraphPrint(QPainter& target, int32_t left, int32_t top, int32_t width, int32_t height) {
    GraphPrint(target, left, top, width, height);
  }
  void aatSetColor(uint32_t fore, uint32_t back, uint32_t bar) { SetColor(fore, back, bar); }

 protected:
  explicit frmTime(QWidget* parent) : GraphWindow(GraphKind::Time, parent) {}
  friend class GraphWindow;
};

class frmOs : public GraphWindow {
  Q_OBJECT
  Q_PROPERTY(bool aaoShowMe READ aaoShowMe)
 public:
  bool aaoShowMe() const { return ShowMe(); }
  Q_INVOKABLE void aaoSetOsValues() { SetValues(); }
  void aaoGraphPrint(QPainter& target, int32_t left, int32_t top, int32_t width, int32_t height) {
    GraphPrint(target, left, top, width, height);
  }
  void aaoSetColor(uint32_t fore, uint32_t back, uint32_t bar) { SetColor(fore, back, bar); }

 protected:
  explicit frmOs(QWidget* parent) : GraphWindow(GraphKind::Os, parent) {}
  friend class GraphWindow;
};

class frmBrws : public GraphWindow {
  Q_OBJECT
  Q_PROPERTY(bool aasShowMe READ aasShowMe)
 public:
  bool aasShowMe() const { return ShowMe(); }
  Q_INVOKABLE void aasSetBrwsValues() { SetValues(); }
  void aasGraphPrint(QPainter& target, int32_t left, int32_t top, int32_t width, int32_t height) {
    GraphPrint(target, left, top, width, height);
  }
  void aasSetColor(uint32_t fore, uint32_t back, uint32_t bar) { SetColor(fore, back, bar); }

 protected:
  explicit frmBrws(QWidget* parent) : GraphWindow(GraphKind::Brws, parent) {}
  friend class GraphWindow;
};

class frmAgent : public GraphWindow {
  Q_OBJECT
  Q_PROPERTY(bool aaoShowMe READ aaoShowMe)
 public:
  bool aaoShowMe() const { return ShowMe(); }
  Q_INVOKABLE void aaoSetAgentValues() { SetValues(); }
  void aaoGraphPrint(QPainter& target, int32_t left, int32_t top, int32_t width, int32_t height) {
    GraphPrint(target, left, top, width, height);
  }
  void aaoSetColor(uint32_t fore, uint32_t back, uint32_t bar) { SetColor(fore, back, bar); }

 protected:
  explicit frmAgent(QWidget* parent) : GraphWindow(GraphKind::Agent, parent) {}
  friend class GraphWindow;
};

class frmHost : public GraphWindow {
  Q_OBJECT
  Q_PROPERTY(bool aahShowMe READ aahShowMe)
 public:
  bool aahShowMe() const { return ShowMe(); }
  Q_INVOKABLE void aahSetHostValues() { SetValues(); }
  void aahGraphPrint(QPainter& target, int32_t left, int32_t top, int32_t width, int32_t height) {
    GraphPrint(target, left, top, width, height);
  }
  void aahSetColor(uint32_t fore, uint32_t back, uint32_t bar) { SetColor(fore, back, bar); }

 protected:
  explicit frmHost(QWidget* parent) : GraphWindow(GraphKind::Host, parent) {}
  friend class GraphWindow;
};

class frmRef : public GraphWindow {
  Q_OBJECT
  Q_PROPERTY(bool aarShowMe READ aarShowMe)
 public:
  bool aarShowMe() const { return ShowMe(); }
  Q_INVOKABLE void aarSetRefValues() { SetValues(); }
  void aarGraphPrint(QPainter& target, int32_t left, int32_t top, int32_t width, int32_t height) {
    GraphPrint(target, left, top, width, height);
  }
  void aarSetColor(uint32_t fore, uint32_t back, uint32_t bar) { SetColor(fore, back, bar); }

 protected:
  explicit frmRef(QWidget* parent) : GraphWindow(GraphKind::Ref, parent) {}
  friend class GraphWindow;
};

class frmPage : public GraphWindow {
  Q_OBJECT
  Q_PROPERTY(bool aapShowMe READ aapShowMe)
 public:
  bool aapShowMe() const { return ShowMe(); }
  Q_INVOKABLE void aapSetPageValues() { SetValues(); }
  void aapGraphPrint(QPainter& target, int32_t left, int32_t top, int32_t width, int32_t height) {
    GraphPrint(target, left, top, width, height);
  }
  void aapSetColor(uint32_t fore, uint32_t back, uint32_t bar) { SetColor(fore, back, bar); }

 protected:
  explicit frmPage(QWidget* parent) : GraphWindow(GraphKind::Page, parent) {}
  friend class GraphWindow;
};

class frmRobot : public GraphWindow {
  Q_OBJECT
  Q_PROPERTY(bool aayShowMe READ aayShowMe)
 public:
  bool aayShowMe() const { return ShowMe(); }
  Q_INVOKABLE void aaySetRobotValues() { SetValues(); }
  void aayGraphPrint(QPainter& target, int32_t left, int32_t top, int32_t width, int32_t height) {
    GraphPrint(target, left, top, width, height);
  }
  void aaySetColor(uint32_t fore, uint32_t back, uint32_t bar) { SetColor(fore, back, bar); }

 protected:
  explicit frmRobot(QWidget* parent) : GraphWindow(GraphKind::Robot, parent) {}
  friend class GraphWindow;
};

}  // namespace vorel::ui
