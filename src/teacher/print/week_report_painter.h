#pragma once

#include <QColor>
#include <QFont>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <vector>

namespace sumbrook {

class WeekReport;

// Lays the week's report out on A4 portrait pages and paints it: the title with the span,
// the table of pupils, the heat map and the class's most-missed facts. A section that does
// not fit goes on to the next page with its column heads again; every page carries the
// report's name and its number. Shades fall in lightness as accuracy falls, so a black and
// white print keeps them apart. It paints what the report holds and reads nothing.
class WeekReportPainter {
  public:
    static constexpr double kPageWidth = 2100;  // tenths of a millimetre
    static constexpr double kPageHeight = 2970;

    explicit WeekReportPainter(const WeekReport& report);

    // Paints every page on an active painter of `device`, whose painting starts at the
    // paper's corner; the number of pages.
    int paint(QPainter& painter, QPagedPaintDevice& device);

    // The heat map's shade for an accuracy; white for nothing tried.
    static QColor shadeOf(int right, int tried);
    // The exercises some pupil of the heat map tried, in order: its columns.
    static std::vector<int> heatMapColumns(const WeekReport& report);

  private:
    struct Column {
        QString head;
        double width;
        int align;
    };

    void beginPage();
    void nextPage();
    // Starts a new page unless `height` fits under the current line.
    void keepRoom(double height);
    void paintFooter();
    void paintTitle();
    void paintPupils();
    void paintHeatMap();
    void paintHeatLegend(const std::vector<int>& exercises);
    void paintMostMissed();
    void paintHeading(const QString& heading, const QString& note);
    void paintTableHead(const std::vector<Column>& columns, double height);
    void paintRow(const std::vector<Column>& columns, const QStringList& cells, double height,
                  bool shaded);
    void write(const QRectF& box, const QString& text, const QFont& font, int flags,
               const QColor& colour = Qt::black);

    const WeekReport& report_;
    QPainter* painter_ = nullptr;
    QPagedPaintDevice* device_ = nullptr;
    double y_ = 0;
    int page_ = 0;
};

}  // namespace sumbrook
