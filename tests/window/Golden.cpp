#include "window/Golden.h"

testing::AssertionResult MatchesGolden(const QImage& image, const QString& name) {
    const QImage actual = image.convertToFormat(QImage::Format_RGB32);
    const QString golden = QStringLiteral(GOLDEN_DIR "/%1.png").arg(name);
    if (qEnvironmentVariable("SERIALTEMP_GOLDEN") == QLatin1String("update")) {
        if (actual.save(golden))
            return testing::AssertionSuccess();
        return testing::AssertionFailure() << "cannot write " << golden.toStdString();
    }
    const QImage expected = QImage(golden).convertToFormat(QImage::Format_RGB32);
    if (actual == expected)
        return testing::AssertionSuccess();
    const QSize size = actual.size().expandedTo(expected.size());
    QImage diff(size, QImage::Format_RGB32);
    int changed = 0;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const bool same = actual.valid(x, y) && expected.valid(x, y) &&
                              actual.pixel(x, y) == expected.pixel(x, y);
            const int grey = actual.valid(x, y) ? 128 + qGray(actual.pixel(x, y)) / 2 : 255;
            diff.setPixel(x, y, same ? qRgb(grey, grey, grey) : qRgb(255, 0, 0));
            changed += same ? 0 : 1;
        }
    }
    const QString out = QStringLiteral(GOLDEN_OUT "/%1").arg(name);
    actual.save(out + QStringLiteral("-actual.png"));
    diff.save(out + QStringLiteral("-diff.png"));
    return testing::AssertionFailure()
           << changed << " pixels differ from " << golden.toStdString() << "; see "
           << out.toStdString() << "-actual.png and " << out.toStdString() << "-diff.png";
}
