#include "grid/Figures.h"

#include <algorithm>
#include <cstdlib>

void lineCells(int x0, int y0, int x1, int y1, std::vector<std::pair<int, int>>& out)
{
    out.clear();
    const int dx = x1 - x0, dy = y1 - y0;
    const bool rowsMajor = std::abs(dy) > std::abs(dx);
    const int major = rowsMajor ? dy : dx;
    const int minor = rowsMajor ? dx : dy;
    const int s = major < 0 ? -1 : 1;
    const int t = minor < 0 ? -1 : 1;
    const int n = major + s;
    const double slope = double(n) / double(minor + t);
    for (int i = 0; i != n; i += s) {
        const int m = int(double(i) / slope); // truncates toward zero
        if (rowsMajor)
            out.emplace_back(x0 + m, y0 + i);
        else
            out.emplace_back(x0 + i, y0 + m);
    }
}

void rectCells(int x0, int y0, int x1, int y1, std::vector<std::pair<int, int>>& out)
{
    out.clear();
    for (int x = std::min(x0, x1); x <= std::max(x0, x1); ++x)
        for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y)
            out.emplace_back(x, y);
}
