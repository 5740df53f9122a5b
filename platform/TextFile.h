#pragma once
// Text files written line by line with CR LF line ends, and the platform's input/output error.
#include <QString>
#include <stdexcept>

// The platform's input/output error. Its message names the file and the reason.
class EInOutError : public std::runtime_error {
 public:
  EInOutError(const QString& message, int errorCode)
      : std::runtime_error(message.toStdString()), Message(message), ErrorCode(errorCode) {}
  QString Message;
  int ErrorCode;  // the system's error number
};

// A text file for writing. Every line goes to the file in one write as soon as it is given, so
// after a failure the file holds exactly the lines before it.
class TTextFile {
 public:
  explicit TTextFile(const QString& fileName);
  ~TTextFile();  // closes without raising
  TTextFile(const TTextFile&) = delete;
  TTextFile& operator=(const TTextFile&) = delete;

  const QString& FileName() const { return fileName_; }
  bool IsOpen() const { return fd_ >= 0; }
  // Opens for appending; a missing file is created. The present content is never touched.
  void Append();
  // Creates the file, or empties an existing one.
  void Rewrite();
  // Writes the text as UTF-8.
  void Write(const QString& text);
  // Writes the text and CR LF.
  void WriteLine(const QString& text);
  // Writes bytes as they are (binary logs).
  void WriteRaw(const char* data, long long size) { WriteBytes(data, size); }
  // Closes the file; a failing close raises like a failing write.
  void Close();

 private:
  void Open(int flags);
  void WriteBytes(const char* data, long long size);
  [[noreturn]] void Fail(const char* what, int error);
  QString fileName_;
  int fd_ = -1;
};
