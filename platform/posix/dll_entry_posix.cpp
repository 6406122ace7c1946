// The setup library's entry point. A shared object needs none on POSIX:
// there are no per-thread notifications to turn off.
namespace vesta::platform {
// Keeps the translation unit from being empty.
extern const int kSharedObjectEntry = 0;
}  // namespace vesta::platform
