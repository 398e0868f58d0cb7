// The about window's picture, a 1080 x 1080 JPEG, from its bytes to its
// first paint in a PicBox of the about window's size (240 x 248, display
// mode 2: scaled to the width and centred), in one run beside the least
// that work needs: the same bytes decoded with libjpeg alone and the
// pixels scaled smoothly to the same size.
//
//   PicBoxFirstPaint    a PicBox made from its kind data and painted once
//   LibjpegAndScale     libjpeg's decoding, then the platform's smooth
//                       scaling (Qt's, underneath) to the placed size

#include "platform/gdi.h"
#include "platform/messages.h"
#include "platform/window.h"
#include "support/test_kinds.h"
#include "ui/framework/framework.h"
#include "ui/framework/identifiers.h"
#include "ui/units/pic_box_data.h"
#include "ui/units/standard_kinds.h"

#include <benchmark/benchmark.h>
#include <jpeglib.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr std::uint32_t kWindow = 0x52000901;
constexpr std::uint32_t kOwn = 0x06000901;
constexpr std::uint32_t kPicture = 0x16000902;
constexpr int kWidth = 240, kHeight = 248;

const std::vector<std::uint8_t>& aboutPicture()
{
    static const std::vector<std::uint8_t> bytes = [] {
        std::ifstream in(VELMORA_SOURCE_DIR "/app/assets/about.jpg", std::ios::binary);
        return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
    }();
    return bytes;
}

bool openWindow()
{
    static const bool open = [] {
        testsupport::StartRuntimeInProcess();
        static std::array<ui::UnitKindDescriptor, 6> core{};
        core[0] = *ui::TheFramework().kinds().find(ui::kinds::Window.value);
        core[5] = ui::kPicBoxKind;
        ui::TheFramework().addKindLibrary({1, core});
        testsupport::AddWindow(kWindow, {testsupport::WindowRecord(kOwn, 300, 300)});
        return ui::TheFramework().openWindow(kWindow, nullptr, false);
    }();
    return open;
}

void PicBoxFirstPaint(benchmark::State& state)
{
    if (!openWindow() || aboutPicture().empty())
        return state.SkipWithError("cannot open the window or read the picture");
    ui::PicBoxData data;
    data.displayMode = 2;
    data.picture = aboutPicture();
    ui::UnitRecord record = testsupport::BoxRecord(kPicture, "picture", 0, 0, kWidth, kHeight, ui::kinds::PicBox.value);
    record.kindData = data.Write();
    auto* window = ui::TheFramework().window(kWindow);
    platform::Hwnd frame = window->liveHandle();
    for (auto _ : state) {
        ui::UnitCreateParams p{.parent = frame, .kindData = record.kindData, .style = platform::WS_VISIBLE,
                               .width = kWidth, .height = kHeight, .windowId = kWindow, .unitId = kPicture,
                               .kindId = ui::kinds::PicBox.value, .window = window};
        auto create = ui::kPicBoxKind.routine<ui::CreateUnitRoutine>(ui::kEntryCreate);
        ui::UnitObject* unit = create(p);
        platform::UpdateWindow(unit->handle());
        state.PauseTiming();
        platform::DestroyWindow(unit->handle());
        platform::FrameworkIdle(0);
        state.ResumeTiming();
    }
}
BENCHMARK(PicBoxFirstPaint)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void LibjpegAndScale(benchmark::State& state)
{
    const std::vector<std::uint8_t>& bytes = aboutPicture();
    if (bytes.empty())
        return state.SkipWithError("cannot read the picture");
    for (auto _ : state) {
        jpeg_decompress_struct info{};
        jpeg_error_mgr errors{};
        info.err = jpeg_std_error(&errors);
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
        jpeg_read_header(&info, TRUE);
        info.out_color_space = JCS_EXT_BGRA;
        jpeg_start_decompress(&info);
        int w = int(info.output_width), h = int(info.output_height);
        std::vector<std::uint32_t> pixels(std::size_t(w) * std::size_t(h));
        while (info.output_scanline < info.output_height) {
            JSAMPROW row = reinterpret_cast<JSAMPROW>(pixels.data() + std::size_t(info.output_scanline) * std::size_t(w));
            jpeg_read_scanlines(&info, &row, 1);
        }
        jpeg_finish_decompress(&info);
        jpeg_destroy_decompress(&info);
        platform::Bitmap bitmap = platform::CreateBitmapFromPixels(w, h, pixels);
        platform::Bitmap scaled = platform::CreateScaledBitmap(bitmap, {kWidth, kWidth}, true);
        benchmark::DoNotOptimize(scaled);
        platform::DeleteBitmap(scaled);
        platform::DeleteBitmap(bitmap);
    }
}
BENCHMARK(LibjpegAndScale)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
