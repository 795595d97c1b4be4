#pragma once

namespace foundation {

// Owns one open file descriptor and closes it exactly once, however the
// owner is moved or destroyed.
class FileDescriptor {
public:
    FileDescriptor() noexcept = default;
    explicit FileDescriptor(int descriptor) noexcept : descriptor_(descriptor) {}
    ~FileDescriptor();
    FileDescriptor(FileDescriptor&& other) noexcept;
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    [[nodiscard]] int get() const noexcept { return descriptor_; }
    [[nodiscard]] bool isOpen() const noexcept { return descriptor_ >= 0; }

    // 0, or the errno of a failed close: on some file systems the last write
    // errors only show up here. The descriptor is gone either way.
    int close() noexcept;

private:
    int descriptor_ = -1;
};

}  // namespace foundation
