#pragma once

#include <QDialog>
#include <QHash>

#include "localisation/ControlTextEntry.h"

class LocalizedTexts;

// A dialog whose caption and control texts can come from the language table, laid out in
// dialog units of its font. Controls take part by being registered under their numeric IDs.
class CLocalizedDialog : public QDialog {
  Q_OBJECT
 public:
  explicit CLocalizedDialog(const LocalizedTexts& texts, QWidget* parent = nullptr)
      : QDialog(parent), m_texts(texts) {}

  // Sets the texts the table names; a control or text that is missing keeps what it shows.
  virtual void ApplyLanguage(const ControlTextEntry* table);

  QWidget* Control(std::uint32_t controlId) const { return m_controls.value(controlId); }

 protected:
  void RegisterControl(std::uint32_t controlId, QWidget* control) { m_controls.insert(controlId, control); }
  const LocalizedTexts& Texts() const { return m_texts; }
  // A place in dialog units of the dialog's font, in pixels.
  QRect DialogUnits(int x, int y, int width, int height) const;

 private:
  const LocalizedTexts& m_texts;
  QHash<std::uint32_t, QWidget*> m_controls;
};
