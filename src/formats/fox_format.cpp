#include "formats/fox_format.h"

#include <cstring>
#include <limits>

#include "formats/atomic_file_writer.h"
#include "formats/file_reader.h"
#include "formats/load_frame.h"
#include "interface/messages.h"
#include "interface/platform_error.h"

namespace quillmere {
namespace {

constexpr std::int32_t kLatestVersion = 3;
constexpr std::uint16_t kShapeBlockLength = 2;  // version 3: just the length field
constexpr std::uint16_t kFrameBlockLength = 4;  // version 3: length, opacity, encoding
constexpr std::size_t kStepSize = 6;

// Reads the rest of a frame record after its format code.
TPatchSubFrame ReadFrame(FileReader& file, std::int16_t format, bool version3) {
  TPatchSubFrame frame;
  frame.Format = format;
  frame.Width = file.ReadU16();
  frame.Height = file.ReadU16();
  frame.ShapePosX = file.ReadI16();
  frame.ShapePosY = file.ReadI16();
  frame.FurrePosX = file.ReadI16();
  frame.FurrePosY = file.ReadI16();
  std::int32_t payloadLength = file.ReadI32();
  if (payloadLength < 0) {
    throw ReadError("Invalid frame data in \"" + file.Path() + "\": a payload length of " +
                    std::to_string(payloadLength) + " bytes.");
  }
  frame.Opacity = 255;
  frame.Encoding = kEncodingRaw;
  if (version3) {
    std::uint16_t blockLength = file.ReadU16();
    frame.Opacity = file.ReadU8();
    frame.Encoding = file.ReadU8();
    if (blockLength > 4) file.Skip(blockLength - 4u);
  }
  // The length is checked against the file before the buffer is sized for it.
  const auto size = static_cast<std::size_t>(payloadLength);
  if (size > file.Remaining()) file.FailRead();
  if (size > 0) {
    ByteBuffer& pixels = frame.Pixels.Edit();
    pixels.resize(size);
    file.ReadExact(pixels.data(), size);
  }
  return frame;
}

void ReadShapes(FileReader& file, TShapeList& shapes, UserInterface& ui, TLoadOutcome& state) {
  char signature[4];
  file.ReadExact(signature, sizeof signature);
  if (std::memcmp(signature, "FSHX", 4) != 0) {
    Show(ui, TMsgId::NotAFOXFile);
    return;
  }
  std::int32_t version = file.ReadI32();
  if (version > kLatestVersion) {
    Show(ui, TMsgId::UnknownFOXVersion, {std::to_string(version)});
    return;
  }
  const bool version3 = version == kLatestVersion;
  std::int32_t count = file.ReadI32();
  file.Skip(4);
  if (file.ReadU32() != 0) {
    Show(ui, TMsgId::EncryptedFOX);
    return;
  }
  file.Skip(8);
  if (count <= 0) state.Complete = true;

  for (std::int32_t k = 1; k <= count; ++k) {
    state.Complete = false;
    TPatchFrame shape;
    shape.Flags = file.ReadU16();
    shape.ReplacementIndex = file.ReadI16();
    std::uint16_t frameCount = file.ReadU16();
    std::uint16_t stepCount = file.ReadU16();
    if (version3) {
      std::uint16_t blockLength = file.ReadU16();
      if (blockLength > 2) file.Skip(blockLength - 2u);
    }
    for (std::uint16_t f = 0; f < frameCount; ++f) {
      const std::int16_t format = file.ReadI16();
      try {
        shape.Frames.push_back(ReadFrame(file, format, version3));
      } catch (...) {
        ui.DebugOutput("Fatal loading error at: " + std::to_string(k));
        throw;
      }
    }
    if (static_cast<std::uint64_t>(stepCount) * kStepSize > file.Remaining()) file.FailRead();
    shape.Script.resize(stepCount);
    for (TKSStep& step : shape.Script) {
      step.Command = file.ReadI16();
      step.Arg1 = file.ReadI16();
      step.Arg2 = file.ReadI16();
    }
    shapes.push_back(std::move(shape));
    state.Complete = true;
  }
}

bool NeedsVersion3(const TShapeList& shapes) {
  for (const TPatchFrame& shape : shapes) {
    for (const TPatchSubFrame& frame : shape.Frames) {
      if (frame.Opacity != 255 || frame.Encoding != kEncodingRaw) return true;
    }
  }
  return false;
}

[[noreturn]] void Refuse(const std::string& fileName, const std::string& why) {
  throw WriteError("Unable to save \"" + fileName + "\": " + why +
                   " The file on disk was left as it was.");
}

// Everything a FOX file can't hold is found before the first byte is written.
void CheckFits(const std::string& fileName, const TShapeList& shapes) {
  constexpr std::size_t kMax16 = std::numeric_limits<std::uint16_t>::max();
  if (shapes.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    Refuse(fileName, "there are too many shapes for a FOX file.");
  }
  for (std::size_t i = 0; i < shapes.size(); ++i) {
    const TPatchFrame& shape = shapes[i];
    const std::string number = std::to_string(i);
    if (shape.Frames.size() > kMax16) {
      Refuse(fileName, "shape " + number + " has " + std::to_string(shape.Frames.size()) +
                           " frames; a FOX shape holds at most 65535.");
    }
    if (shape.Script.size() > kMax16) {
      Refuse(fileName, "shape " + number + " has " + std::to_string(shape.Script.size()) +
                           " KitterSpeak steps; a FOX shape holds at most 65535.");
    }
    for (const TPatchSubFrame& frame : shape.Frames) {
      if (frame.Format < std::numeric_limits<std::int16_t>::min() ||
          frame.Format > std::numeric_limits<std::int16_t>::max()) {
        Refuse(fileName, "shape " + number + " has a frame of pixel format " +
                             std::to_string(frame.Format) + ", which a FOX file can't store.");
      }
      if (frame.Pixels.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        Refuse(fileName, "shape " + number + " has a frame larger than a FOX file can store.");
      }
    }
  }
}

}  // namespace

TLoadOutcome LoadFOXFile(const std::string& fileName, TShapeList& shapes, UserInterface& ui) {
  return RunLoadFrame(shapes, ui, [&](TLoadOutcome& state) {
    FileReader file(fileName);
    ReadShapes(file, shapes, ui, state);
  });
}

bool SaveFOXFile(const std::string& fileName, const TShapeList& shapes) {
  CheckFits(fileName, shapes);
  const bool version3 = NeedsVersion3(shapes);
  AtomicFileWriter out(fileName);
  out.Write("FSHX", 4);
  out.WriteI32(version3 ? 3 : 1);
  out.WriteI32(static_cast<std::int32_t>(shapes.size()));
  const std::uint8_t reserved[16] = {};
  out.Write(reserved, sizeof reserved);
  for (const TPatchFrame& shape : shapes) {
    out.WriteU16(shape.Flags);
    out.WriteI16(shape.ReplacementIndex);
    out.WriteU16(static_cast<std::uint16_t>(shape.Frames.size()));
    out.WriteU16(static_cast<std::uint16_t>(shape.Script.size()));
    if (version3) out.WriteU16(kShapeBlockLength);
    for (const TPatchSubFrame& frame : shape.Frames) {
      out.WriteI16(static_cast<std::int16_t>(frame.Format));
      out.WriteU16(frame.Width);
      out.WriteU16(frame.Height);
      out.WriteI16(frame.ShapePosX);
      out.WriteI16(frame.ShapePosY);
      out.WriteI16(frame.FurrePosX);
      out.WriteI16(frame.FurrePosY);
      out.WriteI32(static_cast<std::int32_t>(frame.Pixels.size()));
      if (version3) {
        out.WriteU16(kFrameBlockLength);
        out.WriteU8(frame.Opacity);
        out.WriteU8(frame.Encoding);
      }
      if (!frame.Pixels.empty()) out.Write(frame.Pixels.data(), frame.Pixels.size());
    }
    for (const TKSStep& step : shape.Script) {
      out.WriteI16(step.Command);
      out.WriteI16(step.Arg1);
      out.WriteI16(step.Arg2);
    }
  }
  out.Commit();
  return true;
}

}  // namespace quillmere
