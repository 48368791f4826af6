#ifndef TALVIK_SESSION_FILE_CONNECTIONS_H_
#define TALVIK_SESSION_FILE_CONNECTIONS_H_

#include <memory>
#include <string_view>
#include <vector>

#include "analysis/byte_source.h"
#include "session/record_destination.h"

namespace talvik {

class FileConnection;

// The files connected during the run. Connections last until finishAll().
class FileConnections {
 public:
  FileConnections();
  ~FileConnections();
  FileConnections(const FileConnections&) = delete;
  FileConnections& operator=(const FileConnections&) = delete;

  // Connects the file named by a typed text field (leading and trailing blanks
  // dropped). A missing file is created; an existing one is opened for reading
  // and writing, or for reading only. Throws Fault: "Bad file specification"
  // for an all-blank name, "File already connected" for a file that is
  // connected already, or the system's message.
  FileConnection& connect(std::string_view nameField);

  // Writes out every buffer and closes every file, in connection order.
  // Throws the first Fault met, after trying every file.
  void finishAll();

 private:
  std::vector<std::unique_ptr<FileConnection>> connections_;
};

// One connected file: read as the size file, or written as an output file.
// Output is buffered in 8192 bytes; the old content is cut at the first write.
class FileConnection : public RecordDestination, public ByteSource {
 public:
  ~FileConnection() override;
  void putRecord(std::string_view record) override;
  std::optional<std::size_t> read(char* buffer, std::size_t capacity) override;
  // ... implementation details are the file's own.
};

}  // namespace talvik

#endif  // TALVIK_SESSION_FILE_CONNECTIONS_H_
