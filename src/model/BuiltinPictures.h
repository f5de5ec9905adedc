#pragma once

#include <QImage>

// The two pictures the program brings along: the default picture of a person (a 16 x 16 shaded
// orange ball on white) and of a group (a 35 x 35 colour cube on white). Drawn once, shared by
// every node through implicit sharing.
const QImage& ColorBallPicture();
const QImage& ColorCubePicture();
