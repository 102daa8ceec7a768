// Helpers of the estimate file tests: estimate files written out byte by byte from the
// file format (never by the program's writer), and documents with their grid view opened
// from such files without a window.
#pragma once

#include "app/CMorvelSettings.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "platform/base/Path.h"
#include "platform/base/Profile.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

// A text of the file in code page 932, from UTF-8.
inline std::string Sj(const char* utf8)
{
    return CString::FromUtf8(utf8).str();
}

// One cell of a row record: its text (UTF-8) and its indent word as stored.
struct FileCell {
    const char* text;
    uint16_t indent;
};

// One row record as stored: kind, the three parameter words in the file's order (param 1,
// param 3, param 2), both parameter texts and the cells.
struct FileRow {
    uint16_t kind;
    uint16_t param1;
    uint16_t param3;
    uint16_t param2;
    const char* text1;
    const char* text2;
    std::vector<FileCell> cells;
};

// The pieces of an estimate file, written in the order of the format.
class EstimateFileBuilder {
public:
    ByteBuilder bytes;

    EstimateFileBuilder& Magic(const std::string& magic = "This is Estimation File")
    {
        bytes.Str(magic);
        return *this;
    }
    // A form record: its magic, the item count word and the items' texts (UTF-8).
    template <size_t N>
    EstimateFileBuilder& Form(const std::string& magic, const std::vector<std::array<const char*, N>>& items)
    {
        bytes.Str(magic).Word(static_cast<uint16_t>(items.size()));
        for (const auto& item : items) {
            for (const char* text : item)
                bytes.Str(Sj(text));
        }
        return *this;
    }
    EstimateFileBuilder& Text(const char* utf8)
    {
        bytes.Str(Sj(utf8));
        return *this;
    }
    EstimateFileBuilder& Words(const std::vector<uint16_t>& words)
    {
        for (uint16_t w : words)
            bytes.Word(w);
        return *this;
    }
    EstimateFileBuilder& Row(const FileRow& row)
    {
        bytes.Word(row.kind).Word(row.param1).Word(row.param3).Word(row.param2);
        bytes.Str(Sj(row.text1)).Str(Sj(row.text2));
        for (const FileCell& cell : row.cells)
            bytes.Str(Sj(cell.text)).Word(cell.indent);
        return *this;
    }
    const std::vector<uint8_t>& Bytes() const { return bytes.Bytes(); }
};

// The three-column estimation form of the sample files.
inline std::vector<std::array<const char*, 10>> SampleEstimationItems()
{
    return {
        {"名称", "文字", "20", "", "", "", "6", "", "A", "B"},
        {"数量", "数値", "8", "#,###.##", "", "F(0)", "3", "", "C", "D"},
        {"金額", "計 A", "12", "###,###", "B*B", "D(-1)", "", "2", "F", "J"},
    };
}

inline std::vector<std::array<const char*, 8>> SampleInformationItems()
{
    return {
        {"得意先名", "文字", "30", "", "", "", "", ""},
        {"税込見積", "税込見積", "14", "###,###", "", "D(-1)", "2", ""},
    };
}

// An estimate with three rows, two information values and two print layouts, written
// out by hand. It exercises each field of the format once:
//   row 0  kind 1 (large heading) "建築工事" indented 2;
//   row 1  kind 5 with parameters 4464 (70000 cut to 16 bits), 7 and 65535, both
//          parameter texts, the number text "1,234.5" kept as written and an indent of -1;
//   row 2  kind 9 (step) with parameters 1, 2, 3 stored in the order 1, 3, 2.
inline std::vector<uint8_t> SampleEstimateFile()
{
    EstimateFileBuilder b;
    b.Magic().Text("meisai.MMK").Form("This is estimation form file", SampleEstimationItems());
    b.Text("JYOUHOU.MJK").Form("This is information form file", SampleInformationItems());
    // columns, used rows, numbering on, numbering column, kind/large/middle/small styles,
    // numbering mode, zoom
    b.Words({3, 3, 1, 0, 3, 2, 1, 0, 0, 150});
    b.Row({1, 0, 0, 0, "", "", {{"建築工事", 2}, {"", 0}, {"", 0}}});
    b.Row({5, 4464, 7, 65535, "T1", "T2", {{"基礎", 0xFFFF}, {"1,234.5", 0}, {"", 3}}});
    b.Row({9, 1, 3, 2, "ｺﾝｸﾘｰﾄ", "", {{"歩掛", 0}, {"12.500000", 0}, {"", 0}}});
    b.Words({2}).Text("山田建設").Text("1,080,000");
    b.Words({2}).Text("見積書").Text("C:\\MORVEL\\PRINT\\").Text("内訳書").Text("C:\\MORVEL\\PRINT\\");
    return b.Bytes();
}

// A document with its estimate view, made as the framework makes them (the view attached
// to the document, no window), freed in the right order.
struct OpenedEstimate {
    OpenedEstimate() : doc(new CMorvelEMDoc), view(new CMorvelEMView)
    {
        doc->m_bAutoDelete = FALSE;
        doc->AddView(view);
    }
    ~OpenedEstimate()
    {
        delete view;
        delete doc;
    }
    OpenedEstimate(const OpenedEstimate&) = delete;
    OpenedEstimate& operator=(const OpenedEstimate&) = delete;

    CMorvelEMDoc* doc;
    CMorvelEMView* view;
};

// Settings of their own in a temporary folder, which is also the work folder.
class EstimateFileTest : public ::testing::Test {
protected:
    EstimateFileTest()
        : profile(dir.Folder() + "morvel.ini"), settings(std::make_unique<CMorvelSettings>(profile))
    {
        CMorvelSettings::SetCurrent(settings.get());
        settings->WritePathSetting("Work Field", SystemPathFromNative(dir.Native()));
        // Saving recalculates only where a test asks for it.
        settings->WriteProfileInt("ReCalcSetting", "Level", 1);
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
