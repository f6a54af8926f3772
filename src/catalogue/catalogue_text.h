// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace palquin {

/// How the text of a whole catalogue file is read.
enum class FileEncoding { Windows1251, Utf8 };

/// Decided once for the whole file, never line by line: UTF-8 when the file starts with a UTF-8
/// byte-order mark, or when all of it is valid UTF-8 and at least one byte is not ASCII;
/// Windows-1251 otherwise. (Windows-1251 text can look like valid UTF-8 in places, so a single
/// line proves nothing.)
FileEncoding DetectEncoding(std::string_view bytes);
/// The same, leaving the byte-order mark out of account: for the rest of a file whose start is
/// known.
FileEncoding EncodingWithoutMark(std::string_view bytes);

/// The UTF-8 byte-order mark that Notepad puts before the first line.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

/// Finds the catalogue lines of a file while it is being read: shown the bytes read so far, again
/// and again, it goes on from where it stopped. CatalogueText takes over what it found when it
/// was shown the very bytes the text is made of.
class LineScan {
  public:
    /// The bytes read so far: the same start every time, each time at least as many.
    void Feed(std::string_view soFar) { Scan(soFar, false); }

  private:
    friend class CatalogueText;
    /// final: these are all the bytes; a CR at their end ends its line.
    void Scan(std::string_view bytes, bool final);

    const char* data_ = nullptr;
    bool started_ = false;
    size_t scanned_ = 0;  ///< line ends looked for up to here
    size_t first_ = 0;    ///< where the first line starts (past a byte-order mark)
    size_t lineStart_ = 0;
    size_t asciiEnd_ = 0;  ///< up to here the bytes are known to be ASCII
    bool separated_ = false;
    size_t catalogueEnd_ = 0;
    size_t settingsStart_ = 0;
    std::vector<size_t> starts_;
};

/// satellite.txt held once, as its bytes, with the place where each catalogue line starts; an
/// entry's text is cut out of the bytes only when it is asked for. Line ends are CR LF, a lone
/// CR or a lone LF; a line end is not part of the line. A leading byte-order mark belongs to no
/// entry. Only the first line that is exactly the separator ends the catalogue part; the lines
/// after it are the settings lines.
class CatalogueText {
  public:
    CatalogueText() = default;
    /// Finds the lines of bytes; throws std::bad_alloc when memory runs out.
    explicit CatalogueText(std::string bytes);
    /// The same over bytes that owner keeps (a file mapped into memory): nothing is copied.
    CatalogueText(std::shared_ptr<const void> owner, std::string_view bytes);
    /// The same, with the lines found while the bytes were read (where scan saw these bytes).
    CatalogueText(std::shared_ptr<const void> owner, std::string_view bytes, LineScan scan);
    CatalogueText(const CatalogueText& other) { *this = other; }
    CatalogueText(CatalogueText&& other) noexcept { *this = std::move(other); }
    CatalogueText& operator=(const CatalogueText& other);
    CatalogueText& operator=(CatalogueText&& other) noexcept;
    ~CatalogueText() = default;

    /// Number of catalogue entries.
    size_t size() const { return starts_ == nullptr ? 0 : starts_->size() - 1; }
    bool empty() const { return size() == 0; }
    /// Entry i, verbatim, without its line end.
    std::string_view operator[](size_t i) const;
    /// Copies of all entries (for small catalogues and tests).
    std::vector<std::string> Entries() const;

    const std::vector<std::string>& Settings() const { return settings_; }
    bool HasSeparator() const { return hasSeparator_; }
    FileEncoding Encoding() const { return encoding_; }
    /// The file's bytes as read, byte-order mark and settings included.
    std::string_view Bytes() const { return bytes_; }

  private:
    void FindLines(LineScan scan = LineScan());

    std::string ownBytes_;               ///< the bytes, unless owner_ holds them
    std::shared_ptr<const void> owner_;  ///< keeps bytes_ where ownBytes_ does not
    std::string_view bytes_;
    /// Start of every entry, then the end of the catalogue part; null when nothing was read.
    /// Never changed once found, so copies of the text share it (a million entries take 8 MB).
    std::shared_ptr<const std::vector<size_t>> starts_;
    std::vector<std::string> settings_;
    bool hasSeparator_ = false;
    FileEncoding encoding_ = FileEncoding::Windows1251;
};

}  // namespace palquin
