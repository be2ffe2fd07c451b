// Saving a file the user chose: the input data file, the RTF report, the
// batch output. Every save of the program goes through TSafeFileWriter, so
// that a save either completes or leaves what it replaces as it was.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace zevra {

// Writes one file piece by piece (the batch output is written as it is
// produced). Nothing replaces the target before Commit; a writer destroyed
// without Commit leaves no trace of itself. Every failure throws EZevraError
// with a Czech message naming the file.
class TSafeFileWriter {
public:
    explicit TSafeFileWriter(const std::string& path);
    ~TSafeFileWriter();
    TSafeFileWriter(const TSafeFileWriter&) = delete;
    TSafeFileWriter& operator=(const TSafeFileWriter&) = delete;

    void Write(std::string_view bytes);
    // Writes what is buffered, makes it durable and puts it in place.
    void Commit();

private:
    struct TState;
    std::unique_ptr<TState> FState;
};

// The whole content at once.
void SaveFile(const std::string& path, std::string_view bytes);

}  // namespace zevra
