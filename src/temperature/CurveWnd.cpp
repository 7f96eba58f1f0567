#include "temperature/CurveWnd.h"

#include "platform/DialogBuilder.h"
#include "platform/DisplayFrame.h"
#include "platform/WindowStyles.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <qdrawutil.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <span>
#include <utility>

namespace {

// The static edge and the client edge together: 1 + 2 pixels on every side.
constexpr int kBorder = 3;
// Pixels the picture moves per value; also the hatch period.
constexpr int kStep = 8;

constexpr QRgb kBackground = 0xff323232;
constexpr QRgb kGridColor = 0xff006400;
constexpr QRgb kWhite = 0xffffffff;

// The rows of an RGB32 image, with one detach for a whole drawing operation
// rather than one per row.
template <typename Pixel> struct Rows {
    template <typename Image>
    explicit Rows(Image& img)
        : first(reinterpret_cast<Pixel*>(img.bits())),
          stride(img.bytesPerLine() / qsizetype(sizeof(Pixel))) {}
    Pixel* operator[](int y) const { return first + y * stride; }
    Pixel* first;
    qsizetype stride;
};

// The platform's cross-hatch brush over the whole image, anchored at its
// origin, with the gaps in the opaque background colour.
void FillGrid(QImage& img) {
    QPainter dc(&img);
    dc.setBackgroundMode(Qt::OpaqueMode);
    dc.setBackground(QColor(kBackground));
    dc.fillRect(img.rect(), QBrush(QColor(kGridColor), Qt::CrossPattern));
}

// Copies the rectangle from of src to the point to of dst, clipped to both.
void CopyRect(QImage& dst, QPoint to, const QImage& src, QRect from) {
    const QPoint shift = to - from.topLeft();
    const QRect target = QRect(to, from.size()) & dst.rect() & src.rect().translated(shift);
    if (target.isEmpty())
        return;
    const Rows<QRgb> dstRows(dst);
    const Rows<const QRgb> srcRows(src);
    const std::size_t bytes = static_cast<std::size_t>(target.width()) * sizeof(QRgb);
    QRgb* out = dstRows[target.top()] + target.left();
    const QRgb* in = srcRows[target.top() - shift.y()] + target.left() - shift.x();
    for (int n = target.height(); n > 0; --n, out += dstRows.stride, in += srcRows.stride)
        std::memcpy(out, in, bytes);
}

// A 1-pixel line as the platform's cosmetic pen draws it: one pixel per step
// of the major axis, the end point left out, and a line passing halfway
// between two pixels lights the one with the smaller coordinate. Qt's
// cosmetic line draws its end point, so it cannot stand in. Pixels outside
// the image are skipped without changing the path.
void DrawLine(QImage& img, QPoint from, QPoint to, QRgb color) {
    const int dx = to.x() - from.x();
    const int dy = to.y() - from.y();
    const bool xMajor = std::abs(dx) > std::abs(dy);
    const int major = xMajor ? std::abs(dx) : std::abs(dy);
    const int minor = xMajor ? std::abs(dy) : std::abs(dx);
    const QPoint majorStep = xMajor ? QPoint(dx < 0 ? -1 : 1, 0) : QPoint(0, dy < 0 ? -1 : 1);
    const QPoint minorStep = xMajor ? QPoint(0, dy < 0 ? -1 : 1) : QPoint(dx < 0 ? -1 : 1, 0);
    // err / (2 * major) is how far the line passes beyond the midpoint to the
    // next minor position; at exactly the midpoint only a step towards the
    // smaller coordinate is taken.
    const int tie = minorStep.x() + minorStep.y() < 0 ? 1 : 0;
    int err = 2 * minor - major;
    const QRect bounds = img.rect();
    const Rows<QRgb> rows(img);
    QPoint p = from;
    for (int i = 0; i < major; ++i) {
        if (bounds.contains(p))
            rows[p.y()][p.x()] = color;
        if (err + tie > 0) {
            p += minorStep;
            err -= 2 * major;
        }
        err += 2 * minor;
        p += majorStep;
    }
}

// The labels "100" down to "0", each on an opaque cell as wide as its text
// and as high as the font, at its place in the label column.
QImage RenderLabels(std::span<QRect> cells) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(12);
    font.setStyleStrategy(QFont::NoAntialias);
    const QFontMetrics metrics(font);
    const auto text = [](std::size_t k) { return QString::number(100 - 10 * int(k)); };

    int width = 0;
    for (std::size_t k = 0; k < cells.size(); ++k) {
        cells[k] = QRect(0, 2 + 16 * int(k), metrics.horizontalAdvance(text(k)), metrics.height());
        width = std::max(width, cells[k].width());
    }
    QImage labels(width, cells.back().bottom() + 1, QImage::Format_RGB32);
    QPainter dc(&labels);
    dc.setFont(font);
    dc.setPen(QColor(kWhite));
    for (std::size_t k = 0; k < cells.size(); ++k) {
        dc.fillRect(cells[k], QColor(kBackground));
        dc.drawText(cells[k].left(), cells[k].top() + metrics.ascent(), text(k));
    }
    return labels;
}

} // namespace

CCurveWnd::CCurveWnd() {
    m_frame.setSingleShot(true);
    connect(&m_frame, &QTimer::timeout, this, &CCurveWnd::ShowNewValues);
}

CCurveWnd::~CCurveWnd() = default;

bool CCurveWnd::Create(unsigned style, const QRect& rect, QWidget* parent, int id) {
    if (parent == nullptr)
        return false;
    setParent(parent);
    setProperty(kCtrlIdProperty, id);
    setContentsMargins(kBorder, kBorder, kBorder, kBorder);
    // No background brush: every client pixel comes from the image.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setGeometry(rect);
    // The one style bit the widget acts on: shown once created.
    setVisible((style & WS_VISIBLE) != 0);
    return true;
}

void CCurveWnd::SetRange(int min, int max) {
    Q_ASSERT(min < max);
    m_nMin = min;
    m_nMax = max;
    PrepareSurface();
}

void CCurveWnd::AddValue(int value) {
    if (value > m_nMax)
        value = m_nMax;
    if (value < m_nMin)
        value = m_nMin;
    m_nValue = value;
    ++m_nCount;
    DrawNewValue();
    if (m_bmpMem.isNull())
        return;
    ++m_nUnshown;
    if (!m_frame.isActive())
        m_frame.start(kLatestMs);
}

void CCurveWnd::ScrollOnFrame() {
    if (m_nUnshown > 0 && (!m_sinceShown.isValid() || m_sinceShown.elapsed() >= kFrameMs))
        ShowNewValues();
}

// What the window shows moves as the picture did: the window system moves
// it, and only what the steps drew is painted again: their strips and the
// segment reaching back into the strip before them, and the labels stamped
// over the moved picture.
void CCurveWnd::ShowNewValues() {
    m_sinceShown.start();
    const int shift = kStep * TakeUnshown();
    const QRect client = contentsRect();
    if (shift + kStep >= client.width()) {
        update(client);
        return;
    }
    scroll(-shift, 0, client);
    update(QRect(client.right() + 1 - shift - kStep, client.top(), shift + kStep, client.height()));
    update(LabelColumn().translated(client.topLeft()));
}

int CCurveWnd::TakeUnshown() {
    m_frame.stop();
    return std::exchange(m_nUnshown, 0);
}

QRect CCurveWnd::FreshGrid() const {
    const QSize client = contentsRect().size();
    return QRect(client.width() - kStep, 0, m_bmpMem.width() - (client.width() - kStep),
                 client.height());
}

QRect CCurveWnd::LabelColumn() const {
    QRect column;
    for (const QRect& cell : m_rcLabels)
        column |= cell;
    return column;
}

void CCurveWnd::paintEvent(QPaintEvent* event) {
    if (!contentsRect().contains(event->rect()))
        DrawBorder();
    // Painted from the picture as it is now, the area would be moved again
    // by the values still to be shown: the whole picture is painted anew.
    if (TakeUnshown() > 0)
        update(contentsRect());
    OnPaint(event->region());
}

// Copies what the paint region needs of the picture (a new value repaints two
// narrow strips), one rectangle at a time under a clip of that rectangle
// alone. Under the clip of the whole region, Qt's raster engine draws the
// picture span by span and hands the spans to its thread pool, at every
// value; under a rectangle it copies the pixels in this thread.
void CCurveWnd::OnPaint(const QRegion& rcPaint) {
    QPainter dc(this);
    if (m_bmpMem.isNull())
        return;
    const QRect client = contentsRect();
    const QPoint origin = client.topLeft() - QPoint(m_nOrigin, 0); // of the image
    const QRegion needed = rcPaint & client;
    for (const QRect& rect : needed) {
        dc.setClipRect(rect);
        dc.drawImage(rect.topLeft(), m_bmpMem, rect.translated(-origin));
    }
}

QImage CCurveWnd::Surface() const {
    if (m_bmpMem.isNull())
        return m_bmpMem;
    return m_bmpMem.copy(QRect(QPoint(m_nOrigin, 0), contentsRect().size()));
}

void CCurveWnd::PrepareSurface() {
    const QSize client = contentsRect().size();
    if (!m_bmpMem.isNull())
        return;
    // Twice as wide as the picture, which moves along it 8 pixels a value:
    // scrolling is a new origin, and only once it reaches the end is the
    // picture copied back to the start.
    m_bmpMem = QImage(2 * client.width() + kStep, client.height(), QImage::Format_RGB32);
    if (m_bmpMem.isNull())
        return;
    FillGrid(m_bmpMem);

    m_bmpGrid = QImage(FreshGrid().width() + kStep, kStep, QImage::Format_RGB32);
    FillGrid(m_bmpGrid);
    m_bmpLabels = RenderLabels(m_rcLabels);
}

void CCurveWnd::DrawNewValue() {
    const QSize client = contentsRect().size();
    const int W = client.width();
    const int H = client.height();
    if (m_bmpMem.isNull())
        return;

    // Scroll: the picture starts 8 pixels further along the image. What lies
    // beyond the picture is fresh grid, so the new strip is drawn already;
    // the origin moves in whole periods of the hatch, which stays anchored
    // at the image's origin.
    if (m_nOrigin + kStep + W > m_bmpMem.width()) {
        CopyRect(m_bmpMem, QPoint(0, 0), m_bmpMem, QRect(m_nOrigin + kStep, 0, W - kStep, H));
        const QRect fresh = FreshGrid();
        const int phase = fresh.left() % kStep;
        for (int y = fresh.top(); y <= fresh.bottom(); ++y)
            CopyRect(m_bmpMem, QPoint(fresh.left(), y), m_bmpGrid,
                     QRect(phase, y % kStep, fresh.width(), 1));
        m_nOrigin = 0;
    } else {
        m_nOrigin += kStep;
    }
    const QPoint origin(m_nOrigin, 0);

    // In double throughout: the clamped difference always fits, the range
    // may not.
    const double share = (double(m_nValue) - m_nMin) / (double(m_nMax) - m_nMin);
    const int y = H - static_cast<int>(share * H);

    const int stripX = W - kStep;

    if (m_nCount == 1) {
        m_nLastX = stripX;
        m_nLastY = y;
        return;
    }
    DrawLine(m_bmpMem, origin + QPoint(m_nLastX - kStep, m_nLastY), origin + QPoint(stripX, y),
             kWhite);
    m_nLastX = stripX;
    m_nLastY = y;
    for (const QRect& cell : m_rcLabels)
        CopyRect(m_bmpMem, origin + cell.topLeft(), m_bmpLabels, cell);
}

void CCurveWnd::DrawBorder() {
    QPainter dc(this);
    qDrawShadePanel(&dc, rect(), palette(), true, 1);
    qDrawWinPanel(&dc, rect().adjusted(1, 1, -1, -1), palette(), true);
}
