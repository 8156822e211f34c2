#include "scores/line_codec.h"

#include "framework/shell.h"

#include <windows.h>

namespace Meteorni {

namespace {

// Splits text into lines at LF or CR LF, as a text-mode stream would, but
// without its habit of ending the file at a Ctrl+Z: junk in a hand-edited
// table must not hide the lines after it. A lone CR is just text; each line
// is cut at its first NUL; a last line without a break counts too.
template <typename Char>
std::vector<std::basic_string<Char>> SplitLines(const Char* text, size_t count) {
    std::vector<std::basic_string<Char>> lines;
    auto cutAtNul = [](std::basic_string<Char> line) {
        size_t nul = line.find(Char(0));
        if (nul != std::basic_string<Char>::npos) line.resize(nul);
        return line;
    };
    size_t start = 0;
    for (size_t i = 0; i < count; ++i) {
        if (text[i] != Char('\n')) continue;
        size_t end = i > start && text[i - 1] == Char('\r') ? i - 1 : i;
        lines.push_back(cutAtNul(std::basic_string<Char>(text + start, end - start)));
        start = i + 1;
    }
    if (start < count) lines.push_back(cutAtNul(std::basic_string<Char>(text + start, count - start)));
    return lines;
}

constexpr const char* kUtf8Mark = "\xEF\xBB\xBF";

bool StartsWith(const std::string& bytes, const char* mark) {
    return bytes.rfind(mark, 0) == 0;
}

// A UTF-16 file as wide text, without its mark; an odd last byte is no
// character and is dropped.
std::wstring Utf16Of(const std::string& bytes, bool bigEndian) {
    std::wstring text;
    text.reserve(bytes.size() / 2);
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        auto first = static_cast<unsigned char>(bytes[i]);
        auto second = static_cast<unsigned char>(bytes[i + 1]);
        text.push_back(static_cast<wchar_t>(bigEndian ? (first << 8) | second : (second << 8) | first));
    }
    return text;
}

// A line of a file marked as UTF-8 in the code page; a line that is not
// valid UTF-8 after all (typed in by hand since) keeps its bytes.
std::string CodePageOfUtf8(const std::string& line) {
    if (line.empty()) return line;
    int size =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, line.data(), static_cast<int>(line.size()), nullptr, 0);
    if (size <= 0) return line;
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, line.data(), static_cast<int>(line.size()), wide.data(), size);
    return Orditex::ToCodePage(wide);
}

}  // namespace

// A hand-edited line may also begin with the bytes of a UTF-16 mark and, as
// they sort high, head the table the game writes. The game never writes a
// NUL, while UTF-16 text has them in every character below 256 (its digits
// and line breaks): a marked file without one is the game's own.
std::vector<std::string> LinesOf(const std::string& bytes) {
    const bool littleEndian = StartsWith(bytes, "\xFF\xFE");
    const bool utf16 =
        (littleEndian || StartsWith(bytes, "\xFE\xFF")) && (bytes.size() == 2 || bytes.find('\0') != std::string::npos);
    if (utf16) {
        std::wstring text = Utf16Of(bytes, !littleEndian);
        std::vector<std::string> lines;
        for (const std::wstring& line : SplitLines(text.data(), text.size()))
            lines.push_back(Orditex::ToCodePage(line));
        return lines;
    }
    const bool utf8 = StartsWith(bytes, kUtf8Mark);
    std::vector<std::string> lines = SplitLines(bytes.data(), bytes.size());
    for (std::string& line : lines) {
        // A UTF-8 mark is no text. One that starts a later line comes from
        // files joined together; kept, it would sort first, be written at
        // the top and then be read as the mark of the whole table.
        while (StartsWith(line, kUtf8Mark)) line.erase(0, 3);
        if (utf8) line = CodePageOfUtf8(line);
    }
    return lines;
}

std::string DiskBytesOf(const std::string& line) {
    std::string bytes;
    bytes.reserve(line.size() + 2);
    for (char c : line) {
        if (c == '\n') bytes.push_back('\r');
        bytes.push_back(c);
    }
    bytes += "\r\n";
    return bytes;
}

}  // namespace Meteorni
