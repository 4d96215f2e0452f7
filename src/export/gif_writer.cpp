#include "export/gif_writer.h"

#include <gif_lib.h>

#include <algorithm>
#include <exception>
#include <stdexcept>

#include "formats/atomic_file_writer.h"
#include "interface/platform_error.h"

namespace quillmere {

// Where giflib's output goes. Once the file is abandoned, closing giflib's
// handle must write nothing more.
struct TGifSink {
  AtomicFileWriter* Out = nullptr;  // null: only counted
  bool Abandoned = false;
  std::uint64_t Bytes = 0;
  std::exception_ptr Failure;
};

namespace {

// giflib is C: an exception must not pass through it, so a failed write is
// kept and raised again once giflib has returned.
int WriteToSink(GifFileType* gif, const GifByteType* data, int length) {
  auto* sink = static_cast<TGifSink*>(gif->UserData);
  if (sink->Abandoned || sink->Failure || length < 0) return 0;
  try {
    if (sink->Out != nullptr) sink->Out->Write(data, static_cast<std::size_t>(length));
    sink->Bytes += static_cast<std::uint64_t>(length);
    return length;
  } catch (...) {
    sink->Failure = std::current_exception();
    return 0;
  }
}

int BitsFor(std::size_t entries) {
  int bits = 1;
  while ((std::size_t{1} << bits) < entries) ++bits;
  return bits;
}

}  // namespace

TGifColourTable FullPaletteTable() {
  TGifColourTable table;
  table.Colours.assign(ShapePalette().begin(), ShapePalette().end());
  for (std::size_t i = 0; i < table.Index.size(); ++i) table.Index[i] = static_cast<std::uint8_t>(i);
  return table;
}

TGifColourTable MakeGifColourTable(const std::array<bool, 256>& used) {
  TGifColourTable table;
  const TPalette& palette = ShapePalette();
  table.Colours.push_back(palette[0]);
  for (std::size_t i = 1; i < palette.size(); ++i) {
    if (!used[i]) continue;
    // Equal colours (the palette has white three times) share an entry.
    const auto same = std::find(table.Colours.begin() + 1, table.Colours.end(), palette[i]);
    table.Index[i] = static_cast<std::uint8_t>(same - table.Colours.begin());
    if (same == table.Colours.end()) table.Colours.push_back(palette[i]);
  }
  table.Entries = static_cast<int>(table.Colours.size());
  table.Bits = BitsFor(table.Colours.size());
  table.Colours.resize(std::size_t{1} << table.Bits);
  return table;
}

GifAnimationWriter::GifAnimationWriter(AtomicFileWriter* out, std::string fileName, int screenWidth,
                                       int screenHeight, const TGifColourTable& table,
                                       std::string_view comment)
    : fileName_(std::move(fileName)), index_(table.Index), sink_(std::make_unique<TGifSink>()) {
  identity_ = true;
  for (std::size_t i = 0; i < index_.size(); ++i) identity_ = identity_ && index_[i] == i;
  sink_->Out = out;
  int error = 0;
  gif_ = EGifOpen(sink_.get(), WriteToSink, &error);
  if (gif_ == nullptr) Fail(error);
  try {
    EGifSetGifVersion(gif_, true);
    std::vector<GifColorType> colours;
    for (const TRGB& c : table.Colours) colours.push_back(GifColorType{c.Red, c.Green, c.Blue});
    const ColorMapObject map{static_cast<int>(colours.size()), table.Bits, false, colours.data()};
    Check(EGifPutScreenDesc(gif_, screenWidth, screenHeight, 8, 0, &map), 0);
    const std::uint8_t loop[3] = {1, 0, 0};  // sub-block 1: loop count 0, repeat for ever
    Check(EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE), 0);
    Check(EGifPutExtensionBlock(gif_, 11, "NETSCAPE2.0"), 0);
    Check(EGifPutExtensionBlock(gif_, 3, loop), 0);
    Check(EGifPutExtensionTrailer(gif_), 0);
    Check(EGifPutExtension(gif_, COMMENT_EXT_FUNC_CODE, static_cast<int>(comment.size()), comment.data()), 0);
  } catch (...) {
    sink_->Abandoned = true;
    int ignored = 0;
    EGifCloseFile(gif_, &ignored);
    gif_ = nullptr;
    throw;
  }
}

GifAnimationWriter::~GifAnimationWriter() {
  if (gif_ == nullptr) return;
  sink_->Abandoned = true;
  int ignored = 0;
  EGifCloseFile(gif_, &ignored);
}

std::uint64_t GifAnimationWriter::Bytes() const { return sink_->Bytes; }

void GifAnimationWriter::Fail(int error) {
  if (sink_->Failure) std::rethrow_exception(sink_->Failure);
  const char* text = GifErrorString(error);
  throw WriteError("Unable to save \"" + fileName_ + "\": " + (text != nullptr ? text : "GIF error") +
                   ". The file on disk was left as it was.");
}

void GifAnimationWriter::Check(int result, int error) {
  if (result == GIF_OK && !sink_->Failure) return;
  Fail(error != 0 ? error : (gif_ != nullptr ? gif_->Error : E_GIF_ERR_WRITE_FAILED));
}

void GifAnimationWriter::PutControl(int disposal, int transparentIndex, int delay) {
  if (gif_ == nullptr) throw std::logic_error("a GIF image after Close");
  const int hundredths = std::clamp(delay, 0, 65535);
  const bool transparent = transparentIndex >= 0;
  const std::uint8_t control[4] = {
      static_cast<std::uint8_t>(((disposal & 7) << 2) | (transparent ? 1 : 0)),  // no user input
      static_cast<std::uint8_t>(hundredths & 0xFF), static_cast<std::uint8_t>(hundredths >> 8),
      static_cast<std::uint8_t>(transparent ? transparentIndex : 0)};
  Check(EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, 4, control), 0);
}

void GifAnimationWriter::AddGifFrame(const TPicture& bitmap, bool transparent, int delay) {
  if (bitmap.Depth != TPictureDepth::Indexed8)
    throw std::invalid_argument("AddGifFrame needs an indexed bitmap");
  PutControl(2, transparent ? index_[0] : -1, delay);
  const bool empty = bitmap.Empty();
  const int width = empty ? 1 : bitmap.Width;
  const int height = empty ? 1 : bitmap.Height;
  Check(EGifPutImageDesc(gif_, 0, 0, width, height, false, nullptr), 0);
  // The picture goes to giflib in one piece, through the file's colour table
  // unless that is the game palette itself (giflib masks the pixels it is
  // given in place, so they are a copy anyway).
  const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  if (empty) {
    row_.assign(1, index_[0]);
  } else if (identity_) {
    row_.assign(bitmap.Pixels.begin(), bitmap.Pixels.begin() + static_cast<std::ptrdiff_t>(count));
  } else {
    row_.resize(count);
    for (std::size_t i = 0; i < count; ++i) row_[i] = index_[bitmap.Pixels[i]];
  }
  Check(EGifPutLine(gif_, row_.data(), static_cast<int>(count)), 0);
  ++frames_;
}

void GifAnimationWriter::AddImage(const TGifImage& image) {
  if (image.Width <= 0 || image.Height <= 0 ||
      image.Pixels.size() != static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height))
    throw std::invalid_argument("AddImage needs Width x Height pixels");
  PutControl(image.Disposal, image.TransparentIndex, image.Delay);
  Check(EGifPutImageDesc(gif_, image.Left, image.Top, image.Width, image.Height, false, nullptr), 0);
  row_.assign(image.Pixels.begin(), image.Pixels.end());
  Check(EGifPutLine(gif_, row_.data(), static_cast<int>(row_.size())), 0);
  ++frames_;
}

void GifAnimationWriter::Close() {
  if (gif_ == nullptr) return;
  int error = 0;
  const int result = EGifCloseFile(gif_, &error);
  gif_ = nullptr;
  Check(result, error);
}

}  // namespace quillmere
