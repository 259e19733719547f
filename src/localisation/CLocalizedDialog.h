#pragma once

#include <QDialog>
#include <QHash>

#include "localisation/ControlTextEntry.h"

// A dialog whose caption and control texts can come from the language table.
// Controls take part by being registered under their numeric IDs.
class CLocalizedDialog : public QDialog {
  Q_OBJECT
 public:
  explicit CLocalizedDialog(QWidget* parent = nullptr) : QDialog(parent) {}

  // Sets the texts the table names; a control or text that is missing keeps what it shows.
  virtual void ApplyLanguage(const ControlTextEntry* table);

  QWidget* Control(std::uint32_t controlId) const { return m_controls.value(controlId); }

 protected:
  void RegisterControl(std::uint32_t controlId, QWidget* control) { m_controls.insert(controlId, control); }

 private:
  QHash<std::uint32_t, QWidget*> m_controls;
};
