// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The program's icon, drawn from the one SVG picture that the desktop icons are made of,
// so that the window, the task bar and the application menu show the same thing.

#include <QIcon>
#include <QImage>
#include <QString>
#include <array>

namespace veldorin {

// The pixel sizes the window icon carries; the desktop theme sizes come from the same SVG.
inline constexpr std::array kProgramIconSizes{16, 24, 32, 48, 64, 128, 256};

// The picture in `svgPath` drawn on a transparent square of `size` pixels; a null image
// when the file is missing or is not a valid SVG, or when `size` is not positive.
QImage RenderIcon(const QString& svgPath, int size);

// The icon built into the program, at every size of kProgramIconSizes. Needs a
// QGuiApplication, as every pixmap does.
QIcon ProgramIcon();

}  // namespace veldorin
