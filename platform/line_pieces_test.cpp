// Pieces of lines as fgets gives them, whether they are read where the
// stream holds them or copied, and the stream just after each.
#include "platform/line_pieces.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"

namespace {

struct Piece {
  std::string text;
  long after;  // where the stream stands after it
  bool operator==(const Piece& other) const { return text == other.text && after == other.after; }
};

// Every piece of the file, with a stream buffer of the given size (0: the
// library's own), by LinePieces or by fgets and strlen.
std::vector<Piece> Pieces(const std::string& path, size_t buffer, bool plain) {
  FILE* stream = vesta::platform::OpenStream(path.c_str(), "rb");
  EXPECT_NE(stream, nullptr);
  std::vector<char> space(buffer + 1);
  if (buffer > 0) std::setvbuf(stream, space.data(), _IOFBF, buffer);
  std::vector<Piece> pieces;
  constexpr int kCapacity = 12;
  if (plain) {
    char line[kCapacity];
    while (std::fgets(line, kCapacity, stream) != nullptr) pieces.push_back({line, std::ftell(stream)});
  } else {
    vesta::platform::LinePieces reader(stream, kCapacity);
    const char* text = nullptr;
    int length = 0;
    while (reader.Next(&text, &length)) {
      // What follows a piece can be read.
      char slack[vesta::platform::LinePieces::kSlack];
      std::memcpy(slack, text + length, sizeof slack);
      pieces.push_back({std::string(text, static_cast<size_t>(length)), std::ftell(stream)});
    }
  }
  std::fclose(stream);
  return pieces;
}

TEST(LinePiecesTest, PiecesAreThoseOfFgetsWhereverTheStreamBuffers) {
  vesta::testing::ScratchFolder scratch;
  const std::string path = scratch.Path("lines.txt");
  std::string text = "short\nexactly ten\n\n\r\nlonger than the capacity of eleven\n";
  text += std::string("a NUL") + '\0' + "inside\n" + "0123456789A\nno line feed at the end";
  ASSERT_TRUE(vesta::testing::WriteBinaryFile(path, text));
  const std::vector<Piece> expected = Pieces(path, 0, true);
  ASSERT_GT(expected.size(), 8u);
  EXPECT_EQ(expected[1].text, "exactly ten");  // its line feed comes as a piece of its own
  EXPECT_EQ(expected[5].text, "longer than");
  for (size_t buffer : {0, 7, 16, 64}) EXPECT_EQ(Pieces(path, buffer, false), expected) << buffer;
  // No stream, no pieces.
  vesta::platform::LinePieces none(nullptr, 12);
  const char* piece = nullptr;
  int length = 0;
  EXPECT_FALSE(none.Next(&piece, &length));
}

#if defined(__GLIBC__)
// Where the stream's buffer holds a whole piece, the piece is read there.
TEST(LinePiecesTest, APieceTheStreamHoldsWholeIsReadWhereItLies) {
  vesta::testing::ScratchFolder scratch;
  const std::string path = scratch.Path("lines.txt");
  ASSERT_TRUE(vesta::testing::WriteBinaryFile(path, "one\ntwo\nthree\n"));
  FILE* stream = vesta::platform::OpenStream(path.c_str(), "rb");
  ASSERT_NE(stream, nullptr);
  std::vector<char> buffer(4096);
  std::setvbuf(stream, buffer.data(), _IOFBF, buffer.size());
  {
    vesta::platform::LinePieces reader(stream, 12);
    const char* text = nullptr;
    int length = 0;
    // The first fills the buffer (through fgets); the next lies in it.
    ASSERT_TRUE(reader.Next(&text, &length));
    EXPECT_EQ(std::string(text, static_cast<size_t>(length)), "one\n");
    ASSERT_TRUE(reader.Next(&text, &length));
    EXPECT_EQ(std::string(text, static_cast<size_t>(length)), "two\n");
    EXPECT_TRUE(text >= buffer.data() && text < buffer.data() + buffer.size());
    EXPECT_EQ(std::ftell(stream), 8);
  }
  std::fclose(stream);
}
#endif

}  // namespace
