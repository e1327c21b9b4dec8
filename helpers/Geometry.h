#pragma once
// Plane geometry in drawing coordinates: y up, angles counter-clockwise.
#include <numbers>

double Distance(double x1, double y1, double x2, double y2);
double AngleRad(double dx, double dy);  // [0, 2pi)
double AngleDeg(double dx, double dy);  // [0, 360]
double NormalizeDeg(double angle);      // [0, 360)
void RotatePoint(double x, double y, double cx, double cy, double angle, double& rx, double& ry);
void RotatePointDeg(double x, double y, double cx, double cy, double angle, double& rx, double& ry);

// Degrees to radians in plain double arithmetic, for the sines and cosines
// of the construction and of the pictures.
inline double Radians(double degrees) { return degrees / 180 * std::numbers::pi; }
