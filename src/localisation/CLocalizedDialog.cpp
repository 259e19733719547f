#include "localisation/CLocalizedDialog.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

#include "localisation/DialogUnits.h"
#include "localisation/LocalizedTexts.h"

namespace {

void SetControlText(QWidget* control, const QString& text) {
  if (auto* label = qobject_cast<QLabel*>(control))
    label->setText(text);
  else if (auto* button = qobject_cast<QAbstractButton*>(control))
    button->setText(text);
  else if (auto* edit = qobject_cast<QLineEdit*>(control))
    edit->setText(text);
}

}  // namespace

void CLocalizedDialog::ApplyLanguage(const ControlTextEntry* table) {
  if (!table) return;
  for (const ControlTextEntry* row = table; row->controlId != ControlTextEntry::kEnd; ++row) {
    std::string text;
    if (!m_texts.GetString(row->stringId, text)) continue;
    // The caption's ID is a control ID like any other: a control registered under
    // it gets the text as well as the title.
    if (row->controlId == ControlTextEntry::kCaption) setWindowTitle(WidgetText(text));
    if (QWidget* control = Control(row->controlId)) SetControlText(control, WidgetText(text));
  }
}

QRect CLocalizedDialog::DialogUnits(int x, int y, int width, int height) const {
  return DialogUnitRect(font(), x, y, width, height);
}
