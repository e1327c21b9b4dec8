#pragma once
// A point in drawing coordinates (x to the right, y up, drawing units).
struct PointD {
    double X = 0.0;
    double Y = 0.0;
};
