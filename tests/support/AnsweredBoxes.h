#pragma once

#include <QString>
#include <QStringList>

#include "desktop/WarningBox.h"

// Answers every message box at once and keeps its title and text, for as long as it lives.
class AnsweredBoxes {
 public:
  AnsweredBoxes() {
    m_previous = WarningBox::SetHandler([this](QWidget*, const QString& title, const QString& text) {
      titles << title;
      texts << text;
    });
  }
  ~AnsweredBoxes() { WarningBox::SetHandler(std::move(m_previous)); }
  AnsweredBoxes(const AnsweredBoxes&) = delete;
  AnsweredBoxes& operator=(const AnsweredBoxes&) = delete;

  QStringList titles;
  QStringList texts;

 private:
  WarningBox::Handler m_previous;
};
