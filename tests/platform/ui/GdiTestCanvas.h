// A memory device context on a bitmap of its own, for pixel checks of the drawing code.
#pragma once

#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "platform/ui/gdi/GdiObjects_p.h"

#include <QImage>

#include <algorithm>
#include <climits>
#include <cstring>
#include <gtest/gtest.h>

class CGdiCanvas {
public:
    CGdiCanvas(int width, int height, COLORREF background = RGB(255, 255, 255))
    {
        EXPECT_TRUE(dc.CreateCompatibleDC(nullptr));
        EXPECT_TRUE(bitmap.CreateCompatibleBitmap(&dc, width, height));
        m_pOld = dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, width, height, background);
        dc.SetBkColor(RGB(255, 255, 255));
    }
    ~CGdiCanvas() { dc.SelectObject(m_pOld); }

    const QImage& Image() { return *ImageOf(&bitmap); }
    // The pixel at device (x, y) as a COLORREF.
    COLORREF At(int x, int y)
    {
        const QRgb c = Image().pixel(x, y);
        return RGB(qRed(c), qGreen(c), qBlue(c));
    }
    // The smallest rectangle around every pixel that differs from background (right and
    // bottom exclusive); empty when there is none.
    CRect Ink(COLORREF background = RGB(255, 255, 255))
    {
        CRect r(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
        const QImage& img = Image();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (At(x, y) != background) {
                    r.left = std::min<LONG>(r.left, x);
                    r.top = std::min<LONG>(r.top, y);
                    r.right = std::max<LONG>(r.right, x + 1);
                    r.bottom = std::max<LONG>(r.bottom, y + 1);
                }
        if (r.left == INT_MAX)
            return CRect();
        return r;
    }
    int CountColor(COLORREF c)
    {
        int n = 0;
        const QImage& img = Image();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += At(x, y) == c ? 1 : 0;
        return n;
    }

    CDC dc;
    CBitmap bitmap;

private:
    CBitmap* m_pOld = nullptr;
};

inline LOGFONT MakeLogFont(LONG height, const CString& face, LONG weight = FW_NORMAL)
{
    LOGFONT lf;
    std::memset(&lf, 0, sizeof(lf));
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return lf;
}
