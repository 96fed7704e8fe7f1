#pragma once

#include "console/console.hpp"

// Notes where the cursor stands and puts it back when the scope ends, so that a write
// elsewhere on the screen leaves the person typing where they were.
class KeptCursor {
public:
    explicit KeptCursor(Console& console)
        : console_(console), column_(console.where_x()), row_(console.where_y()) {}
    ~KeptCursor() { console_.goto_xy(column_, row_); }
    KeptCursor(const KeptCursor&) = delete;
    KeptCursor& operator=(const KeptCursor&) = delete;

    int column() const { return column_; }
    int row() const { return row_; }

private:
    Console& console_;
    int column_;
    int row_;
};
