// A child window's place in its parent.
#pragma once

struct Bounds {
    int x, y, w, h;
};
