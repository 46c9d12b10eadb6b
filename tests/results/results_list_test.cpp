// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>
#include <QFontMetricsF>

#include "results/results_list.h"

namespace veldorin::test {
namespace {

// Long numbers push the later columns right instead of running into them.
TEST(ResultsList, ColumnsMakeRoomForTheWidestField) {
    ResultsList list(TwipScale(96.0), nullptr);
    list.AppendLine("f, MHz\tNOE\tCRR,1/s\tR1,1/s\tR2,1/s");
    list.AppendLine("100\t-1234.567\t1.234568E+07\t-12345.6789\t31.5515");
    const QList<qreal> stops = list.ColumnStops();
    ASSERT_EQ(stops.size(), 4);

    const QFontMetricsF metrics(list.font());
    const QStringList fields = list.Lines().back().split('\t');
    qreal start = 0.0;
    for (int column = 0; column < 4; ++column) {
        EXPECT_LT(start + metrics.horizontalAdvance(fields[column]), stops[column]) << column;
        start = stops[column];
    }

    // Short fields keep the design's stops; a new table lays the columns out afresh.
    list.clear();
    list.AppendLine("100\t1\t2\t3\t4");
    EXPECT_LT(list.ColumnStops().back(), stops.back());
}

}  // namespace
}  // namespace veldorin::test
