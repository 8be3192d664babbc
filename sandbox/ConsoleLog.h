#pragma once
// An output stream that keeps the last lines written to it, for the window's
// console panel, and copies everything to a second stream (the terminal), so
// that a window run prints what a console run prints.

#include <cstddef>
#include <deque>
#include <ostream>
#include <streambuf>
#include <string>

class ConsoleLog : public std::ostream {
 public:
  // `echo` may be null; at most `maxLines` complete lines are kept.
  explicit ConsoleLog(std::ostream* echo, size_t maxLines = 5000);
  ConsoleLog(const ConsoleLog&) = delete;
  ConsoleLog& operator=(const ConsoleLog&) = delete;

  // Complete lines, oldest first; a line still being written is not in it.
  const std::deque<std::string>& lines() const { return buffer_.lines; }
  // Grows by one for every completed line, also once old lines are dropped;
  // the panel scrolls down when it changes.
  size_t lineCount() const { return buffer_.count; }

 private:
  struct LineBuffer : std::streambuf {
    std::ostream* echo = nullptr;
    size_t maxLines = 0;
    std::string partial;
    std::deque<std::string> lines;
    size_t count = 0;

    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize size) override;
    void put(char c);
  };
  LineBuffer buffer_;
};
