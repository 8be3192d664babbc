#include "sandbox/ConsoleLog.h"

ConsoleLog::ConsoleLog(std::ostream* echo, size_t maxLines) : std::ostream(nullptr) {
  buffer_.echo = echo;
  buffer_.maxLines = maxLines == 0 ? 1 : maxLines;
  rdbuf(&buffer_);
}

void ConsoleLog::LineBuffer::put(char c) {
  if (c != '\n') {
    partial.push_back(c);
    return;
  }
  lines.push_back(std::move(partial));
  partial.clear();
  ++count;
  if (lines.size() > maxLines) lines.pop_front();
}

ConsoleLog::LineBuffer::int_type ConsoleLog::LineBuffer::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  const char ch = traits_type::to_char_type(c);
  put(ch);
  if (echo) {
    echo->put(ch);
    if (ch == '\n') echo->flush();
  }
  return c;
}

std::streamsize ConsoleLog::LineBuffer::xsputn(const char* text, std::streamsize size) {
  for (std::streamsize i = 0; i < size; ++i) put(text[i]);
  if (echo) {
    echo->write(text, size);
    echo->flush();
  }
  return size;
}
