// What the page generator's Win32 tests share: a history in a scratch folder,
// an empty output folder, the [HTML] settings the tests start from, and the
// expected markup spelled out piece by piece.
#pragma once

#include <gtest/gtest.h>

#include <stdint.h>

#include <string>
#include <utility>
#include <vector>

#include "history/HistoryRecord.h"
#include "tests/support/TestSupport.h"

// Colour values as Windows holds them, red in the lowest byte.
const uint32_t Orange = 0x000080FF; // red 255, green 128, blue 0: "#ff8000"
const uint32_t Coffee = 0x00EEFFC0; // "#c0ffee"

// Expected markup.
std::string PageHead(const char* tableColor = "#c0ffee");
extern const char PageTail[];
std::string WideComment(const std::string& comment);   // layouts 0 to 3
std::string NarrowComment(const std::string& comment); // layouts 4 and 5
std::string ImageCell(const std::string& src, const std::string& width = "");
std::string LinkedCell(const std::string& href, const std::string& content);
std::string ImageTag(const std::string& src, const std::string& width = "");
std::string DescriptionCell(const std::string& text, const std::string& widthAttribute = "");
std::string RowGroup(const std::vector<std::string>& comments, const std::vector<std::string>& cells,
                     const char* rowColor = "#ff8000");
std::string Page(const std::vector<std::string>& rowGroups);

// Every CopyFileA the generator makes, passed on to the real one.
class CopyRecorder {
public:
    CopyRecorder();
    ~CopyRecorder();
    CopyRecorder(const CopyRecorder&) = delete;
    CopyRecorder& operator=(const CopyRecorder&) = delete;
    std::vector<std::pair<std::string, std::string>> Copies() const;
};

class HtmlExportTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // SetJob with the output folder and the rule "page".
    void Job(int layout, int perPage = 10, int imageWidth = -1, int descriptionWidth = -1);
    // Appends a record; it is kept in the history folder when its image path
    // is history-relative, as after reading a history file.
    HistoryRecord& Add(const std::string& comment, const std::string& imagePath, const std::string& textPath = "");
    // Writes a file into the history folder, the images folder or the output.
    std::string HistoryFile(const std::string& name, const std::string& bytes);
    std::string ImageFile(const std::string& name, const std::string& bytes);
    std::string OutputFile(const std::string& name, const std::string& bytes);
    // The bytes of page n of the output, "" when it does not exist.
    std::string PageFile(int n);
    bool PageExists(int n);
    // Names of the files in the output folder, sorted.
    std::vector<std::string> OutputNames();

    TempDir history{ "html-history" };
    TempDir images{ "html-images" };
    TempDir out{ "html-out" };
    MessageBoxRecorder boxes;
};
