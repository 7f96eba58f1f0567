#include "window/Golden.h"

testing::AssertionResult MatchesGolden(const QImage& image, const QString& name) {
    const QImage actual = image.convertToFormat(QImage::Format_RGB32);
    const QString golden = QStringLiteral(GOLDEN_DIR "/%1.png").arg(name);
    if (qEnvironmentVariable("SERIALTEMP_GOLDEN") == QLatin1String("update") && actual.save(golden))
        return testing::AssertionSuccess();
    const QImage expected = QImage(golden).convertToFormat(QImage::Format_RGB32);
    if (actual == expected)
        return testing::AssertionSuccess();
    QImage diff =
        actual.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_RGB32);
    int changed = 0;
    for (int y = 0; y < diff.height(); ++y) {
        for (int x = 0; x < diff.width(); ++x) {
            if (!expected.valid(x, y) || expected.pixel(x, y) != actual.pixel(x, y)) {
                diff.setPixel(x, y, qRgb(255, 0, 0));
                ++changed;
            }
        }
    }
    const std::string out = QStringLiteral(GOLDEN_OUT "/%1").arg(name).toStdString();
    actual.save(QString::fromStdString(out + "-actual.png"));
    diff.save(QString::fromStdString(out + "-diff.png"));
    return testing::AssertionFailure()
           << changed << " pixels differ from " << golden.toStdString() << " (" << expected.width()
           << 'x' << expected.height() << "); see " << out << "-actual.png and " << out
           << "-diff.png";
}
