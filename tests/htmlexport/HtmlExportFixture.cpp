#include "tests/htmlexport/HtmlExportFixture.h"

#include <string.h>

#include "base/ByteString.h"
#include "history/HistoryFile.h"
#include "htmlexport/HtmlExport.h"
#include "settings/Settings.h"

const char PageTail[] = "</table>\r\n</body></html>";

std::string PageHead(const char* tableColor) {
    return std::string("<html><body><title>タイトル</title>\r\n<table bgcolor='") + tableColor + "'>\r\n";
}

std::string WideComment(const std::string& comment) {
    return "<td colspan='2'>" + comment + "</td>";
}

std::string NarrowComment(const std::string& comment) {
    return "<td>" + comment + "</td>";
}

std::string ImageTag(const std::string& src, const std::string& width) {
    if (width.empty())
        return "<img src=" + src + " border='0'>";
    return "<img src=" + src + " width='" + width + "'  border='0'>";
}

std::string ImageCell(const std::string& src, const std::string& width) {
    return "<td>" + ImageTag(src, width) + "</td>";
}

std::string LinkedCell(const std::string& href, const std::string& content) {
    return "<td><a target='_blank' href='" + href + "'>" + content + "</a></td>";
}

std::string DescriptionCell(const std::string& text, const std::string& widthAttribute) {
    std::string open = widthAttribute.empty() ? "<td>" : "<td width='" + widthAttribute + "'>";
    return open + "<font size=2>" + text + "</font></td>";
}

std::string RowGroup(const std::vector<std::string>& comments, const std::vector<std::string>& cells,
                     const char* rowColor) {
    std::string row = std::string("<tr nowrap bgcolor='") + rowColor + "'>";
    std::string group = row;
    for (auto& c : comments)
        group += c;
    group += "</tr>" + row + "\r\n";
    for (auto& c : cells)
        group += c + "\r\n";
    return group + "</tr>\r\n";
}

std::string Page(const std::vector<std::string>& rowGroups) {
    std::string page = PageHead();
    for (auto& g : rowGroups)
        page += g;
    return page + PageTail;
}

// --- CopyRecorder ------------------------------------------------------------------

static std::vector<std::pair<std::string, std::string>> gCopies;

static BOOL WINAPI RecordCopy(LPCSTR source, LPCSTR destination, BOOL failIfExists) {
    gCopies.push_back({ source, destination });
    return CopyFileA(source, destination, failIfExists);
}

CopyRecorder::CopyRecorder() {
    gCopies.clear();
    SetCopyFileHook(RecordCopy);
}

CopyRecorder::~CopyRecorder() {
    SetCopyFileHook(NULL);
}

std::vector<std::pair<std::string, std::string>> CopyRecorder::Copies() const {
    return gCopies;
}

// --- HtmlExportTest ------------------------------------------------------------------

void HtmlExportTest::SetUp() {
    InitHistoryList(gHistory, history.Path().c_str());
    gSettings.htmlPerRow = 2;
    gSettings.htmlBackColor = (int)Coffee;
    gSettings.htmlFrameColor = (int)Orange;
    gSettings.htmlNoImageCopy = 0;
    Job(0);
}

void HtmlExportTest::TearDown() {
    ClearHistoryRecords(gHistory);
}

void HtmlExportTest::Job(int layout, int perPage, int imageWidth, int descriptionWidth) {
    ASSERT_TRUE(SetJob(layout, perPage, imageWidth, descriptionWidth, out.Path().c_str(), "page"));
}

HistoryRecord& HtmlExportTest::Add(const std::string& comment, const std::string& imagePath,
                                   const std::string& textPath) {
    HistoryRecord& r = gHistory.records[gHistory.count++];
    memset(&r, 0, sizeof(r));
    CopyText(r.dateTime, countof(r.dateTime), "2024/05/06 07:08:09");
    CopyText(r.comment, countof(r.comment), comment.c_str());
    CopyText(r.imagePath, countof(r.imagePath), imagePath.c_str());
    CopyText(r.textPath, countof(r.textPath), textPath.c_str());
    r.inHistoryFolder = IsHistoryRelative(r.imagePath) ? 1 : 0;
    return r;
}

std::string HtmlExportTest::HistoryFile(const std::string& name, const std::string& bytes) {
    EXPECT_TRUE(WriteFileBytes(history.File(name), bytes)) << name;
    return history.File(name);
}

std::string HtmlExportTest::ImageFile(const std::string& name, const std::string& bytes) {
    EXPECT_TRUE(WriteFileBytes(images.File(name), bytes)) << name;
    return images.File(name);
}

std::string HtmlExportTest::OutputFile(const std::string& name, const std::string& bytes) {
    EXPECT_TRUE(WriteFileBytes(out.File(name), bytes)) << name;
    return out.File(name);
}

std::string HtmlExportTest::PageFile(int n) {
    return ReadFileBytes(out.File("page" + std::to_string(n) + ".htm"));
}

bool HtmlExportTest::PageExists(int n) {
    return PathExists(out.File("page" + std::to_string(n) + ".htm"));
}

std::vector<std::string> HtmlExportTest::OutputNames() {
    return FilesIn(out.Path());
}
