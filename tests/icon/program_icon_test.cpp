// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/program_icon.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <ostream>
#include <string>

namespace veldorin {
namespace {

const QString kIconSvg = QStringLiteral(VELDORIN_ICON_SVG);

class DrawingTheIcon : public ::testing::TestWithParam<int> {};

TEST_P(DrawingTheIcon, FillsTheTileAndLeavesTheRoundedCornersClear) {
    const int size = GetParam();

    const QImage image = RenderIcon(kIconSvg, size);

    ASSERT_EQ(image.size(), QSize(size, size));
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(image.pixelColor(size - 1, size - 1).alpha(), 0);
    // Left of the curve's start the tile shows: opaque, and dark blue rather than black.
    const QColor tile = image.pixelColor(size / 8, size / 2);
    EXPECT_EQ(tile.alpha(), 255);
    EXPECT_GT(tile.blue(), tile.red());
}

INSTANTIATE_TEST_SUITE_P(EveryWindowSize, DrawingTheIcon, ::testing::ValuesIn(kProgramIconSizes),
                         [](const auto& info) { return "px" + std::to_string(info.param); });

enum class Source { RealIcon, MissingFile, WrittenFile };

struct RefusedRow {
    const char* name;
    Source source;
    QByteArray contents;  // what a WrittenFile holds
    int size;
};

void PrintTo(const RefusedRow& row, std::ostream* out) { *out << row.name; }

class RefusingToDraw : public ::testing::TestWithParam<RefusedRow> {};

TEST_P(RefusingToDraw, GivesANullImage) {
    const RefusedRow& row = GetParam();
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QString path = folder.filePath(QStringLiteral("icon.svg"));
    if (row.source == Source::RealIcon) path = kIconSvg;
    if (row.source == Source::WrittenFile) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(row.contents), row.contents.size());
    }

    EXPECT_TRUE(RenderIcon(path, row.size).isNull());
}

INSTANTIATE_TEST_SUITE_P(Icon, RefusingToDraw,
                         ::testing::Values(RefusedRow{"missing_file", Source::MissingFile, {}, 32},
                                           RefusedRow{"png_bytes", Source::WrittenFile,
                                                      QByteArray("\x89PNG\r\n\x1a\n"), 32},
                                           RefusedRow{"empty_file", Source::WrittenFile,
                                                      QByteArray(""), 32},
                                           RefusedRow{"cut_off_svg", Source::WrittenFile,
                                                      QByteArray("<svg xmlns=\"http://www.w3"), 32},
                                           RefusedRow{"zero_size", Source::RealIcon, {}, 0},
                                           RefusedRow{"negative_size", Source::RealIcon, {}, -16}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProgramIcon, CarriesTheBuiltInPictureAtEverySize) {
    const QIcon icon = ProgramIcon();

    ASSERT_FALSE(icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    for (const int size : kProgramIconSizes) {
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
    }
    const QImage drawn = icon.pixmap(QSize(64, 64)).toImage();
    EXPECT_EQ(drawn, RenderIcon(kIconSvg, 64).convertToFormat(drawn.format()));
}

}  // namespace
}  // namespace veldorin
