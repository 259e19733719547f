#include "controls/CIconButton.h"

#include <QEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyle>

namespace {

// Only for an icon that lists no sizes of its own (a scalable one): the size the
// buttons are designed around.
constexpr QSize kScalableIconSize(16, 16);

// An icon is drawn at its own size. A QIcon may carry one picture in several sizes
// (16 and 32 pixels, say); the smallest is the icon's size on the screen, and the
// larger ones are the same picture for screens with more pixels per point, which
// QIcon picks by itself when it paints into such a device.
QSize NaturalSize(const QIcon& icon) {
  QList<QSize> sizes;  // the normal look first; an icon made only of another still has a size
  for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active, QIcon::Selected})
    for (const QIcon::State state : {QIcon::Off, QIcon::On})
      if (sizes.isEmpty()) sizes = icon.availableSizes(mode, state);
  QSize smallest;
  for (const QSize& size : sizes)
    if (size.isValid() && (!smallest.isValid() || size.width() * size.height() < smallest.width() * smallest.height()))
      smallest = size;
  return smallest.isValid() ? smallest : icon.actualSize(kScalableIconSize);
}

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
  const QSize size = NaturalSize(m_hIcon);
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
