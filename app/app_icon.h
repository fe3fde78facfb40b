#pragma once
// The application icon (icon group 128): a copier with its print controller, drawn at 16, 32 and
// 48 pixels.

#include <QIcon>

namespace azu {

QIcon ApplicationIcon();

}  // namespace azu
