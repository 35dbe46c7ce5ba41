#pragma once
// A grid on a form with its footer strip, the strip's pixels and mouse input to the strip.
#include "framework/controls/Forms.h"
#include "tests/common/InputEvents.h"
#include "tests/progrid/grid/GridFixture.h"
#include <QCoreApplication>
#include <QImage>
#include <gtest/gtest.h>

class FooterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form.SetBounds(0, 0, 700, 400);
        grid = new TTestGrid(&form);
        grid->SetParent(&form);
        grid->SetBounds(0, 0, 600, 300);
        grid->SetScrollBars(ssNone);
    }

    TFooterPanel *panel() const { return grid->FooterPanel(); }
    TFloatingFooter *footer() const { return grid->FloatingFooter(); }
    QWidget *strip() const { return panel()->Widget(); }
    // The point of the strip at x, halfway down.
    QPoint at(int x) const { return QPoint(x, panel()->Height() / 2); }

    QImage grab() const { return strip()->grab().toImage(); }
    static TColor pixel(const QImage &img, int x, int y) { return QColorToColor(img.pixelColor(x, y)); }
    // How many pixels of row y, from x1 up to x2, have the colour.
    static int countInRow(const QImage &img, int y, int x1, int x2, TColor c)
    {
        int n = 0;
        for (int x = x1; x < x2; ++x)
            n += pixel(img, x, y) == c;
        return n;
    }

    // n columns of width w (the first one fixed), one fixed row, the footer shown.
    void columns(int n, int w)
    {
        grid->SetColCount(n);
        grid->SetDefaultColWidth(w);
        footer()->SetVisible(true);
    }

    TForm form{nullptr};
    TTestGrid *grid = nullptr;
};
