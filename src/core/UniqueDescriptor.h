#pragma once

#include <unistd.h>

// A file descriptor that is closed when its owner goes.
class UniqueDescriptor {
 public:
  explicit UniqueDescriptor(int descriptor = -1) : m_descriptor(descriptor) {}
  ~UniqueDescriptor() {
    if (m_descriptor >= 0) ::close(m_descriptor);
  }
  UniqueDescriptor(const UniqueDescriptor&) = delete;
  UniqueDescriptor& operator=(const UniqueDescriptor&) = delete;

  int Get() const { return m_descriptor; }
  bool IsOpen() const { return m_descriptor >= 0; }

 private:
  int m_descriptor;
};
