#include "reports/qt_canvas.h"

#include <gtest/gtest.h>

#include "qt_test_app.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>

#include "io/atomic_file.h"
#include "io/failing_file_system.h"
#include "reports/report_fixture.h"

namespace coldroom {
namespace {

using testing::GoldenModel;
using testing::ReadBytes;
using testing::TempDir;

QApplication& App() { return test::TestApplication(); }

// An A4 page as an image at `dpi`, painted through the canvas by `paint` (into `areaMm` of
// the paper when given).
template <class Paint>
QImage page(double dpi, Paint paint, const QRectF& areaMm = {}) {
    const auto px = [dpi](double mm) { return qRound(mm / 25.4 * dpi); };
    QImage image(px(kPageWidthMm), px(kPageHeightMm), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    {
        QtCanvas canvas(painter, areaMm);
        paint(canvas);
    }
    painter.end();
    return image;
}

// Ink within a pixel of the point: a fine line may fall between two pixel rows.
bool dark(const QImage& image, double dpi, double xMm, double yMm) {
    const int x = qRound(xMm / 25.4 * dpi), y = qRound(yMm / 25.4 * dpi);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (qGray(image.pixel(x + dx, y + dy)) < 160) return true;
    return false;
}

// The dark rows' span in millimetres inside a horizontal band [fromMm, toMm).
std::pair<double, double> inkRows(const QImage& image, double dpi, double fromMm, double toMm) {
    int first = -1, last = -1;
    for (int y = static_cast<int>(fromMm / 25.4 * dpi); y < toMm / 25.4 * dpi; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                if (first < 0) first = y;
                last = y;
                break;
            }
    return {first * 25.4 / dpi, (last + 1) * 25.4 / dpi};
}

TEST(QtCanvas, UsesLiberationSansSizedInMillimetres) {
    App();
    struct Case { double pt; int hundredthsOfMm; } cases[] = {{8, 282}, {10, 353}, {11, 388}};
    for (const auto& c : cases) {
        const QFont font = QtCanvas::FontFor({c.pt, true, false});
        EXPECT_EQ(font.pixelSize(), c.hundredthsOfMm) << c.pt;
        EXPECT_TRUE(font.bold());
    }
    EXPECT_EQ(QFontInfo(QtCanvas::FontFor({})).family(), QStringLiteral("Liberation Sans"))
        << "the set-up installs fonts-liberation2";
}

TEST(QtCanvas, MapsMillimetresAndPlacesTextByItsTopLeftCorner) {
    App();
    const double dpi = 300;
    const TextStyle big{36, false, false};
    const QImage image = page(dpi, [&](QtCanvas& c) {
        c.Rectangle(10, 10, 50, 30);
        c.Text(20, 40, "ШШШ", big);
    });
    EXPECT_TRUE(dark(image, dpi, 10, 20));
    EXPECT_TRUE(dark(image, dpi, 50, 20));
    EXPECT_TRUE(dark(image, dpi, 30, 10));
    EXPECT_TRUE(dark(image, dpi, 30, 30));
    EXPECT_FALSE(dark(image, dpi, 30, 20)) << "outline only";
    EXPECT_FALSE(dark(image, dpi, 9, 20));

    // "Ш" stands on the baseline and rises to the cap height: 36 pt is 12.7 mm, the baseline
    // lies one ascent (0.905 em) below the given top and the capitals are 0.688 em tall.
    const auto [top, bottom] = inkRows(image, dpi, 35, 70);
    EXPECT_NEAR(bottom, 40 + 0.905 * 12.7, 0.25);
    EXPECT_NEAR(bottom - top, 0.688 * 12.7, 0.25);
}

TEST(QtCanvas, EveryCellTextFitsItsBoxHeight) {
    App();
    for (bool standard : {true, false}) {
        for (const auto& cell : PrintedReportCells(GoldenModel(standard))) {
            if (!cell.boxed) continue;
            const QFontMetricsF m(QtCanvas::FontFor(cell.style));
            const double heightMm = (m.ascent() + m.descent()) / QtCanvas::kUnitsPerMm;
            EXPECT_LE(cell.dy + heightMm, cell.y2 - cell.y1 + 1e-9) << cell.text;
        }
    }
}

// A printer's unprintable margin takes nothing of the page: it is scaled into the rest.
TEST(QtCanvas, ThePageShrinksIntoThePrintableArea) {
    App();
    const double dpi = 100;
    const QRectF printable(5, 4, 200, 287);  // 5 mm margins across, 4 and 6 mm down
    const QImage image = page(dpi, [](QtCanvas& c) { c.Rectangle(0, 0, kPageWidthMm, kPageHeightMm); }, printable);
    const double scale = 200 / kPageWidthMm, bottom = 4 + kPageHeightMm * scale;
    EXPECT_TRUE(dark(image, dpi, 5, 100) && dark(image, dpi, 205, 100));
    EXPECT_TRUE(dark(image, dpi, 100, 4) && dark(image, dpi, 100, bottom));
    EXPECT_FALSE(dark(image, dpi, 2, 100) || dark(image, dpi, 100, 1.5));
}

// A long material name takes two lines, at no less than 6 pt, clear of its 5 mm box's top and
// bottom lines (it touched the top line once).
TEST(QtCanvas, ALongNameWrapsInsideItsBox) {
    App();
    const double dpi = 600;
    const TextStyle material{8, false, true};
    const std::string name = "Пенополиуретан (PUR) - утеплитель сэндвич-панелей";
    const QImage image = page(dpi, [&](QtCanvas& c) { c.WrappedText(42, 60, name, material, 47.5, 59, 64); });
    const auto [top, bottom] = inkRows(image, dpi, 55, 70);
    EXPECT_GT(top, 59.3);
    EXPECT_LT(bottom, 63.7);
    // Two lines of at least 6 pt, set solid: capitals of the first down to descenders of the
    // second.
    EXPECT_GT(bottom - top, (0.688 + 1.0 + 0.2) * 6 * 25.4 / 72 - 0.1);
    bool inked = false;
    for (int y = 0; y < image.height(); ++y)
        inked = inked || qGray(image.pixel(qRound(89.6 / 25.4 * dpi), y)) < 128;
    EXPECT_FALSE(inked) << "nothing beyond the room";
}

TEST(QtCanvas, TheCapacityRowFollowsTheDoorBlock) {
    App();
    const double dpi = 150;
    struct Case { bool standard; double top, bottom, absent; } cases[] = {
        {true, 221, 228, 238}, {false, 231, 238, 0}};
    for (const auto& c : cases) {
        const QImage image = page(dpi, [&](QtCanvas& canvas) {
            DrawPrintedReport(GoldenModel(c.standard), canvas);
        });
        // A point left of every text, on the box lines only.
        EXPECT_TRUE(dark(image, dpi, 15.5, c.top));
        EXPECT_TRUE(dark(image, dpi, 15.5, c.bottom));
        if (c.absent > 0) {
            EXPECT_FALSE(dark(image, dpi, 15.5, c.absent));
        }
        EXPECT_TRUE(dark(image, dpi, 15.5, 250));
        EXPECT_TRUE(dark(image, dpi, 15.5, 255));
    }
}

TEST(QtCanvas, WritesAnA4PdfAtomically) {
    App();
    TempDir dir;
    const std::string path = dir.file("report.pdf");
    std::string error;
    ASSERT_TRUE(WritePrintedReportPdf(path, GoldenModel(true), error)) << error;
    const std::string pdf = ReadBytes(path);
    EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
    EXPECT_NE(pdf.find("/MediaBox [0 0 595"), std::string::npos);
    EXPECT_EQ(dir.entries(), 1);

    {
        test::FailingFileSystem failing(test::FailingFileSystem::Step::Rename);
        UseFileSystem use(failing);
        EXPECT_FALSE(WritePrintedReportPdf(path, GoldenModel(false), error));
    }
    EXPECT_EQ(error, "Не удается записать файл «" + path + "»: нет прав на запись в папку «" + dir.path().string() + "»");
    EXPECT_EQ(ReadBytes(path), pdf);
    EXPECT_EQ(dir.entries(), 1);
}

}  // namespace
}  // namespace coldroom
