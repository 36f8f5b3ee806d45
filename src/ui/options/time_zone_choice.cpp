#include "ui/options/time_zone_choice.h"

#include <QComboBox>

#include "analysis/time_zone.h"

namespace vorel::ui {
namespace {

QString Caption(const char* caption) { return QString::fromUtf8(caption); }

}  // namespace

void FillTimeZoneChoices(QComboBox* box) {
  box->clear();
  box->addItem(Caption(kComputerZoneCaption));
  box->addItem(Caption(kLoggedTimeCaption));
  for (const std::string& name : analysis::KnownZoneNames()) box->addItem(QString::fromStdString(name));
  box->setInsertPolicy(QComboBox::NoInsert);
}

void ShowTimeZoneSetting(QComboBox* box, std::string_view setting) {
  QString text;
  if (setting == analysis::kComputerZoneSetting) text = Caption(kComputerZoneCaption);
  else if (setting == analysis::kLoggedTimeSetting) text = Caption(kLoggedTimeCaption);
  else text = QString::fromUtf8(setting.data(), static_cast<int>(setting.size()));
  const int index = box->findText(text);
  if (index >= 0) box->setCurrentIndex(index);
  else box->setEditText(text);
}

std::string TimeZoneSettingOf(const QComboBox* box) {
  const QString text = box->currentText().trimmed();
  if (text == Caption(kComputerZoneCaption) || text.isEmpty()) return std::string(analysis::kComputerZoneSetting);
  if (text == Caption(kLoggedTimeCaption)) return std::string(analysis::kLoggedTimeSetting);
  return text.toStdString();
}

}  // namespace vorel::ui
