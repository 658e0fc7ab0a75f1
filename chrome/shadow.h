// Soft drop shadows for the frameless windows: a translucent, input-transparent tool window
// owned by its target that lies around it and follows every move, resize, hide and restore.
#pragma once

#include <QImage>
#include <QPainterPath>
#include <QWidget>
#include <cstdint>
#include <optional>

#include "chrome/image_holder.h"

namespace corvale::chrome {

// The two pre-rendered black shadows, loaded on first use and kept until the program ends.
struct ShadowImages {
  ImageHolder shadow5;
  ImageHolder shadow10;
  // Loads the image for the size on first use; nothing for other sizes.
  const QImage* ForSize(int size);
};

// 0x00BBGGRR colour and an alpha to 0xAARRGGBB.
std::uint32_t ColorToArgb(std::uint32_t colour, int alpha);
// Four 90-degree arcs of radius r (clamped to 1..100); a plain rectangle for r <= 0.
QPainterPath RoundedRectPath(qreal x, qreal y, qreal w, qreal h, int r);
// Corners unscaled (20, 10 or 5 pixels by the image's size), edges stretched one way, the
// centre both ways.
void DrawNineSlice(QPainter& painter, const QImage& image, int x, int y, int w, int h);
// size one-pixel rings of alpha Step × i, outermost faintest; the area over the target stays
// transparent.
void DrawShadowRings(QPainter& painter, std::uint32_t colour, int size, int w, int h);
// The whole shadow bitmap: the image for black sizes 5 and 10, rings otherwise.
QImage RenderShadow(std::uint32_t colour, int size, int w, int h, ShadowImages& images);

// Returns whether the target has a shadow afterwards. A size below 1 removes it. Attaching again
// updates colour and size and keeps one shadow window and one event filter.
bool AttachShadow(QWidget* target, ShadowImages& images, std::uint32_t colour = 0, int size = 5);
void RemoveShadow(QWidget* target);
// Hidden while the target is hidden, minimised or maximised; else placed S pixels around it.
void UpdateShadowPlacement(QWidget* target, std::optional<bool> visible = std::nullopt);
void PaintShadow(QWidget* target, int width = 0, int height = 0);
// The shadow window of a target, or nothing.
QWidget* ShadowOf(const QWidget* target);

}  // namespace corvale::chrome
