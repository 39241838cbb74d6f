#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qv::profile {

struct FileText {
    enum class Status { read, missing, failed };
    Status status = Status::failed;
    std::string text;
};

// The whole content of a regular file. A missing file is not a failure; a
// file that exists but cannot be read (or is no regular file) is.
FileText readFileText(const std::filesystem::path& file);

// Replaces a file's content so that it is never seen half-written: the text
// goes to a new file beside the target, is flushed to the disk, and then
// renamed over the target. A symbolic link is followed, so the file it points
// to is replaced, not the link. An existing file's permissions are kept.
//
// The system calls are virtual so that tests can make one of them fail.
class AtomicFileReplacer {
  public:
    virtual ~AtomicFileReplacer() = default;

    // False when the file could not be replaced; the old content is then intact.
    bool replace(const std::filesystem::path& file, std::string_view text);

  protected:
    virtual long writeSome(int fd, const char* data, std::size_t size);
    virtual int syncFile(int fd);
    virtual int renameFile(const char* from, const char* to);

  private:
    bool writeAll(int fd, std::string_view text);
};

}  // namespace qv::profile
