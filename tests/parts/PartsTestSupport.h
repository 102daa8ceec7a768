// Helpers of the parts-list tests: parts files written byte by byte from the file format
// (never by the program's writer), a parts form, and a document with its grid view made
// as the framework makes them, without a window.
#pragma once

#include "app/CMorvelSettings.h"
#include "parts/CMorvelPMDoc.h"
#include "parts/CMorvelPMView.h"
#include "platform/base/Path.h"
#include "platform/base/Profile.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

inline std::string Sj(const char* utf8)
{
    return CString::FromUtf8(utf8).str();
}

using PartItem = std::array<const char*, 10>;

// Columns A..F: name, number, unit, price, amount = B*D, and a "計" column that is
// calculated but shown as stored.
inline std::vector<PartItem> SamplePartItems()
{
    return {
        {"部材名", "文字", "20", "", "", "", "", "", "", ""},
        {"数量", "数値", "8", "#,###.##", "", "", "", "", "", ""},
        {"単位", "文字", "5", "", "", "", "1", "", "", ""},
        {"単価", "数値", "10", "###,###", "", "F(-1)", "", "", "", ""},
        {"金額", "計算", "12", "###,###,###", "b*d", "D(0)", "", "", "", ""},
        {"合計", "計", "12", "", "a+b", "", "", "", "", ""},
    };
}

inline void FillForm(CPartFormFile& form, const std::vector<PartItem>& items)
{
    for (size_t i = 0; i < items.size(); ++i) {
        for (int j = 0; j < 10; ++j)
            form.GetItem(static_cast<int>(i), j) = CString::FromUtf8(items[i][static_cast<size_t>(j)]);
    }
    form.SetCount(static_cast<int>(items.size()));
}

// The pieces of a parts file in the order of the format.
class PartsFileBuilder {
public:
    ByteBuilder bytes;

    PartsFileBuilder& Magic(const std::string& magic = "This is Parts Management file")
    {
        bytes.Str(magic);
        return *this;
    }
    PartsFileBuilder& Word(uint16_t w)
    {
        bytes.Word(w);
        return *this;
    }
    PartsFileBuilder& Text(const char* utf8)
    {
        bytes.Str(Sj(utf8));
        return *this;
    }
    PartsFileBuilder& Form(const std::vector<PartItem>& items,
                           const std::string& magic = "This is part form file")
    {
        bytes.Str(magic).Word(static_cast<uint16_t>(items.size()));
        for (const PartItem& item : items) {
            for (const char* text : item)
                bytes.Str(Sj(text));
        }
        return *this;
    }
    const std::vector<uint8_t>& Bytes() const { return bytes.Bytes(); }
};

// A list of two rows by the sample form (the second never written: six empty cells) and
// two print layouts, zoom 150.
inline std::vector<uint8_t> SamplePartsFile()
{
    PartsFileBuilder b;
    b.Magic().Word(150).Text("BUZAI.MBK").Form(SamplePartItems());
    b.Word(2).Word(6);
    for (const char* cell : {"異形棒鋼", "12.500000", "kg", "98.000000", "1225.000000", "xyz"})
        b.Text(cell);
    for (int c = 0; c < 6; ++c)
        b.Text("");
    b.Word(2).Text("部材表.MBP").Text("C:\\MORVEL\\FORM\\").Text("集計").Text("");
    return b.Bytes();
}

struct OpenedParts {
    OpenedParts() : doc(new CMorvelPMDoc), view(new CMorvelPMView)
    {
        doc->m_bAutoDelete = FALSE;
        doc->AddView(view);
    }
    ~OpenedParts()
    {
        doc->RemoveView(view);
        delete view;
        delete doc;
    }
    OpenedParts(const OpenedParts&) = delete;
    OpenedParts& operator=(const OpenedParts&) = delete;

    CMorvelPMDoc* doc;
    CMorvelPMView* view;
};

// Settings of their own in a temporary folder, which is also the work folder.
class PartsTest : public ::testing::Test {
protected:
    PartsTest() : profile(dir.Folder() + "morvel.ini"), settings(std::make_unique<CMorvelSettings>(profile))
    {
        CMorvelSettings::SetCurrent(settings.get());
        settings->WritePathSetting("Work Field", SystemPathFromNative(dir.Native()));
    }

    CString Path(const std::string& name) const { return dir.Folder() + CString::FromUtf8(name); }
    std::string Native(const std::string& name) const { return dir.NativeFile(name); }
    void Write(const std::string& name, const std::vector<uint8_t>& bytes) const
    {
        WriteNativeFile(Native(name), bytes);
    }
    std::vector<uint8_t> Read(const std::string& name) const { return ReadNativeFile(Native(name)); }

    TempDir dir;
    CProfileFile profile;
    std::unique_ptr<CMorvelSettings> settings;
};
