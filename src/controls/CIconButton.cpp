#include "controls/CIconButton.h"

#include <QEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyle>

namespace {

// The size the buttons are designed around; a larger icon is scaled down to it,
// a smaller one is drawn as it is.
constexpr QSize kIconRequest(16, 16);

}  // namespace

CIconButton::CIconButton(QWidget* parent) : QPushButton(parent) { DetectTheme(); }

CIconButton::~CIconButton() = default;

bool CIconButton::SetIcon(const QIcon& icon) {
  m_hIcon = icon;
  MeasureIcon();
  update();
  return true;
}

bool CIconButton::RemoveIcon() { return SetIcon(QIcon()); }

void CIconButton::MeasureIcon() {
  m_nIconWidth = 0;
  m_nIconHeight = 0;
  if (m_hIcon.isNull()) return;
  const QSize size = m_hIcon.actualSize(kIconRequest);
  if (!size.isValid()) return;
  m_nIconWidth = size.width();
  m_nIconHeight = size.height();
}

QPoint CIconButton::IconPosition() const {
  // Integer division truncates toward zero, so a face narrower than the icon
  // still centres it; an odd leftover pixel goes to the right and bottom.
  QPoint at((width() - m_nIconWidth) / 2, (height() - m_nIconHeight) / 2);
  if (!m_bThemed && isDown()) at += QPoint(1, 1);
  return at;
}

void CIconButton::PaintIcon(QPainter& painter) {
  if (m_hIcon.isNull() || m_nIconWidth <= 0 || m_nIconHeight <= 0) return;
  const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
  const QRect target(IconPosition(), QSize(m_nIconWidth, m_nIconHeight));
  m_hIcon.paint(&painter, target, Qt::AlignCenter, mode, QIcon::Off);
}

bool CIconButton::DetectTheme() {
  // A proxy wraps the style that really draws the face; look through it.
  const QStyle* drawing = style();
  while (const auto* proxy = qobject_cast<const QProxyStyle*>(drawing)) {
    if (!proxy->baseStyle() || proxy->baseStyle() == drawing) break;
    drawing = proxy->baseStyle();
  }
  m_bThemed = drawing->name().compare(QLatin1String("windows"), Qt::CaseInsensitive) != 0;
  return m_bThemed;
}

void CIconButton::paintEvent(QPaintEvent* event) {
  QPushButton::paintEvent(event);
  QPainter painter(this);
  PaintIcon(painter);
}

void CIconButton::changeEvent(QEvent* event) {
  QPushButton::changeEvent(event);
  switch (event->type()) {
    case QEvent::StyleChange:
    case QEvent::PaletteChange:
      DetectTheme();
      update();
      break;
    case QEvent::EnabledChange:
      update();
      break;
    default:
      break;
  }
}
