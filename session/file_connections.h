#ifndef TALVIK_SESSION_FILE_CONNECTIONS_H_
#define TALVIK_SESSION_FILE_CONNECTIONS_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "analysis/byte_source.h"
#include "session/console/record_destination.h"
#include "session/console/system_file.h"

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
  // connected already under any name (a Windows device excepted), or the
  // system's message.
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
  // Only FileConnections makes connections.
  class Key {
    friend class FileConnections;
    Key() = default;
  };

  // Takes over `file`, open on the file `name` described by `facts`.
  // `writeRefusal` is the failure of the read-write opening of a file
  // connected for reading only, none for a file open for reading and writing.
  FileConnection(Key, std::string name, SystemFile file, const FileFacts& facts,
                 std::error_code writeRefusal);
  FileConnection(const FileConnection&) = delete;
  FileConnection& operator=(const FileConnection&) = delete;

  // Closes the file; records that FileConnections::finishAll() has not
  // written out are lost.
  ~FileConnection() override;
  void putRecord(std::string_view record) override;
  std::optional<std::size_t> read(char* buffer, std::size_t capacity) override;

 private:
  friend class FileConnections;

  // Writes the buffered records; the first write cuts the old content.
  void writeOut();
  // Writes the buffered records and closes the file; later calls do nothing.
  void finish();

  std::string name_;
  SystemFile file_;
  std::optional<FileIdentity> identity_;
  bool regularFile_;
  std::error_code writeRefusal_;
  std::string buffer_;
  std::uint64_t written_ = 0;
  bool cut_ = false;
};

}  // namespace talvik

#endif  // TALVIK_SESSION_FILE_CONNECTIONS_H_
