#pragma once

#include <QImage>
#include <QString>

#include <gtest/gtest.h>

// Whether image equals golden/<name>.png pixel for pixel. On a difference the
// image and a diff (changed pixels red over a grey copy) are written into the
// build folder and named in the failure. With SERIALTEMP_GOLDEN=update in the
// environment the image becomes the golden one instead.
testing::AssertionResult MatchesGolden(const QImage& image, const QString& name);
