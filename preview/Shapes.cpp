#include "preview/Shapes.h"

#include <algorithm>
#include <cmath>

#include "helpers/Geometry.h"

namespace preview {

void Box::Add(const Box& other)
{
    if (other.Empty)
        return;
    Add(other.MinX, other.MinY);
    Add(other.MaxX, other.MaxY);
}

Box BoxOf(double x1, double y1, double x2, double y2)
{
    Box box;
    box.Add(x1, y1);
    box.Add(x2, y2);
    return box;
}

bool Meets(const Box& a, const Box& b)
{
    return !a.Empty && !b.Empty && a.MinX < b.MaxX && b.MinX < a.MaxX && a.MinY < b.MaxY && b.MinY < a.MaxY;
}

Box ShapeBounds(const Shape& shape)
{
    Box box;
    switch (shape.Kind) {
    case ShapeKind::Path:
        for (const Point& p : shape.Points)
            box.Add(p.X, p.Y);
        break;
    case ShapeKind::Circle:
        box.Add(shape.Centre.X - shape.Radius, shape.Centre.Y - shape.Radius);
        box.Add(shape.Centre.X + shape.Radius, shape.Centre.Y + shape.Radius);
        break;
    case ShapeKind::Dot:
        box.Add(shape.Centre.X, shape.Centre.Y);
        break;
    case ShapeKind::Text: {
        const double a = Radians(shape.AngleDeg);
        const double ux = std::cos(a), uy = std::sin(a);
        const double nx = -uy, ny = ux;
        const Point o = shape.Centre;
        box.Add(o.X, o.Y);
        box.Add(o.X + shape.Length * ux, o.Y + shape.Length * uy);
        box.Add(o.X + shape.Height * nx, o.Y + shape.Height * ny);
        box.Add(o.X + shape.Length * ux + shape.Height * nx, o.Y + shape.Length * uy + shape.Height * ny);
        break;
    }
    }
    return box;
}

}  // namespace preview
