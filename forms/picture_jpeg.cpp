// JPEG through libjpeg. Its default error handler ends the process, so ours jumps
// back instead; a truncated stream (which libjpeg would pad and accept with a
// warning) and corrupt entropy data count as failures too.
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>
#include <jerror.h>

#include "forms/picture_codecs.h"

namespace qor::forms {

namespace {

struct TJpegError {
  jpeg_error_mgr Manager;  // first: libjpeg passes a pointer to it
  std::jmp_buf Jump;
  bool Corrupt = false;
};

[[noreturn]] void OnErrorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<TJpegError*>(cinfo->err);
  std::longjmp(err->Jump, 1);
}

void OnEmitMessage(j_common_ptr cinfo, int level) {
  auto* err = reinterpret_cast<TJpegError*>(cinfo->err);
  if (level >= 0) return;  // trace messages
  int code = err->Manager.msg_code;
  if (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER || code == JWRN_MUST_RESYNC || code == JWRN_NOT_SEQUENTIAL)
    err->Corrupt = true;
}

void OnOutputMessage(j_common_ptr) {}

// One CMYK sample as opaque RGB, as the Windows decoder converts it: each colour
// is what its ink and the black ink leave of the paper.
std::uint32_t InkPixel(const std::uint8_t* cmyk, bool inverted) {
  auto paper = [inverted](std::uint8_t ink) -> unsigned { return inverted ? ink : 255u - ink; };
  const unsigned k = paper(cmyk[3]);
  auto channel = [k](unsigned left) -> std::uint32_t { return (left * k + 127) / 255; };
  return 0xFF000000u | channel(paper(cmyk[0])) << 16 | channel(paper(cmyk[1])) << 8 | channel(paper(cmyk[2]));
}

// What the decoding step works on; owned by the caller so that nothing with a
// destructor lives in the frame that setjmp returns to.
struct TJpegJob {
  jpeg_decompress_struct Info;
  TJpegError Error;
  std::span<const std::uint8_t> Data;
  TBitmapData* Out;
  std::vector<std::uint8_t>* Row;
  bool Created;
};

bool RunJpegJob(TJpegJob* job) {
  if (setjmp(job->Error.Jump)) return false;
  jpeg_create_decompress(&job->Info);
  job->Created = true;
  jpeg_mem_src(&job->Info, job->Data.data(), static_cast<unsigned long>(job->Data.size()));
  if (jpeg_read_header(&job->Info, TRUE) != JPEG_HEADER_OK) return false;
  if (job->Info.image_width == 0 || job->Info.image_height == 0 ||
      std::uint64_t{job->Info.image_width} * job->Info.image_height > kMaxPicturePixels)
    return false;
  // libjpeg turns YCCK into CMYK but neither into RGB: the inks are converted here.
  const bool inks = job->Info.jpeg_color_space == JCS_CMYK || job->Info.jpeg_color_space == JCS_YCCK;
  job->Info.out_color_space = inks ? JCS_CMYK : JCS_RGB;
  jpeg_start_decompress(&job->Info);
  const int components = inks ? 4 : 3;
  if (job->Info.output_components != components) return false;
  // Adobe's applications write the inks inverted (0 is full ink) and mark the file.
  const bool inverted = inks && job->Info.saw_Adobe_marker;
  const unsigned width = job->Info.output_width;
  job->Out->Width = static_cast<int>(width);
  job->Out->Height = static_cast<int>(job->Info.output_height);
  job->Out->Pixels.resize(static_cast<std::size_t>(width) * job->Info.output_height);
  job->Row->resize(static_cast<std::size_t>(width) * components);
  while (job->Info.output_scanline < job->Info.output_height) {
    JSAMPROW row = job->Row->data();
    std::size_t y = job->Info.output_scanline;
    if (jpeg_read_scanlines(&job->Info, &row, 1) != 1) return false;
    std::uint32_t* dst = job->Out->Pixels.data() + y * width;
    const std::uint8_t* src = job->Row->data();
    for (unsigned x = 0; x < width; ++x, src += components)
      dst[x] = inks ? InkPixel(src, inverted)
                    : 0xFF000000u | (std::uint32_t{src[0]} << 16) | (std::uint32_t{src[1]} << 8) | src[2];
  }
  jpeg_finish_decompress(&job->Info);
  return !job->Error.Corrupt;
}

}  // namespace

bool IsJpegData(std::span<const std::uint8_t> data) {
  return data.size() >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

bool DecodeJpeg(std::span<const std::uint8_t> data, TBitmapData& out) {
  out = TBitmapData{};
  if (!IsJpegData(data)) return false;
  TBitmapData result;
  std::vector<std::uint8_t> row;
  TJpegJob job;
  std::memset(&job.Info, 0, sizeof job.Info);
  job.Info.err = jpeg_std_error(&job.Error.Manager);
  job.Error.Manager.error_exit = OnErrorExit;
  job.Error.Manager.emit_message = OnEmitMessage;
  job.Error.Manager.output_message = OnOutputMessage;
  job.Error.Corrupt = false;
  job.Data = data;
  job.Out = &result;
  job.Row = &row;
  job.Created = false;
  bool ok = RunJpegJob(&job);
  if (job.Created) jpeg_destroy_decompress(&job.Info);
  if (!ok) return false;
  out = std::move(result);
  return true;
}

}  // namespace qor::forms
