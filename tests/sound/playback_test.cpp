// A click plays click.wav: the file read through mmio into a movable block,
// copied into a fresh DirectSound buffer and started from its beginning.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "tests/sound/sound_rig.h"

namespace sound_tests {
namespace {

using faults::api;

constexpr DWORD allocbuf_read = 0x00010000;
constexpr DWORD clip_buffer_flags = 0xE0;  // frequency, pan and volume controls

class clip_playback : public testing::Test {
protected:
    clip_playback() {
        rig.start();
        rig.put_clip(wave::plain(clip));
    }

    const wave::bytes clip = wave::samples(2000);
    sound_rig rig;
};

TEST_F(clip_playback, opens_the_clip_in_the_sound_folder_for_buffered_reading) {
    rig.click(3);
    const faults::mmio_log mmio = rig.ledger.mmio();
    ASSERT_EQ(mmio.opens.size(), 1u);
    EXPECT_EQ(mmio.opens[0].file, rig.sound_folder() + "click.wav");
    EXPECT_FALSE(mmio.opens[0].info_given);
    EXPECT_EQ(mmio.opens[0].flags, allocbuf_read);
    EXPECT_TRUE(mmio.open_files.empty()) << "the clip stays open";
}

TEST_F(clip_playback, walks_wave_fmt_and_data_and_reads_the_samples_into_a_movable_block) {
    call_counts click(rig.ledger);
    rig.click(3);
    const faults::mmio_log mmio = rig.ledger.mmio();
    ASSERT_EQ(mmio.descends.size(), 3u);
    EXPECT_EQ(mmio.descends[0].flags, static_cast<UINT>(MMIO_FINDRIFF));
    EXPECT_EQ(mmio.descends[0].searched, mmioFOURCC('W', 'A', 'V', 'E'));
    EXPECT_FALSE(mmio.descends[0].parent_given);
    EXPECT_EQ(mmio.descends[1].flags, static_cast<UINT>(MMIO_FINDCHUNK));
    EXPECT_EQ(mmio.descends[1].searched, mmioFOURCC('f', 'm', 't', ' '));
    EXPECT_TRUE(mmio.descends[1].parent_given);
    EXPECT_EQ(mmio.descends[2].flags, static_cast<UINT>(MMIO_FINDCHUNK));
    EXPECT_EQ(mmio.descends[2].searched, mmioFOURCC('d', 'a', 't', 'a'));
    EXPECT_TRUE(mmio.descends[2].parent_given);
    for (const auto& descend : mmio.descends) EXPECT_EQ(descend.result, MMSYSERR_NOERROR);
    EXPECT_EQ(click[api::mmioAscend], 1u);
    EXPECT_EQ(click[api::mmioClose], 1u);

    // The format record is read from inside "fmt ", the samples from inside "data".
    const auto read_between = [&](uint64_t after, uint64_t before, LONG bytes) {
        return std::any_of(mmio.reads.begin(), mmio.reads.end(), [&](const faults::mmio_read_call& r) {
            return r.seq > after && r.seq < before && r.requested == bytes && r.result == bytes;
        });
    };
    EXPECT_TRUE(read_between(mmio.descends[1].seq, mmio.descends[2].seq, 16));

    const faults::memory_log memory = rig.ledger.memory();
    const auto block = std::find_if(memory.allocs.begin(), memory.allocs.end(),
                                    [](const faults::global_alloc_call& a) { return a.flags & GMEM_MOVEABLE; });
    ASSERT_NE(block, memory.allocs.end());
    EXPECT_EQ(block->bytes, clip.size());
    EXPECT_GT(block->seq, mmio.descends[2].seq);
    EXPECT_TRUE(read_between(block->seq, UINT64_MAX, static_cast<LONG>(clip.size())));
    EXPECT_GE(click[api::GlobalLock], 1u);
    EXPECT_EQ(click[api::GlobalLock], click[api::GlobalUnlock]);

    // The path block and the sample block are both back: the folder is all that's held.
    const faults::held_resources held = rig.ledger.held();
    EXPECT_EQ(held.blocks, 1u);
    EXPECT_EQ(held.locks, 0u);
    EXPECT_EQ(held.files, 0u);
}

TEST_F(clip_playback, describes_the_buffer_by_the_clip) {
    rig.click(3);
    const faults::sound_log log = rig.sound_log();
    ASSERT_EQ(log.buffer_requests.size(), 1u);
    const faults::buffer_request& request = log.buffer_requests[0];
    EXPECT_EQ(request.size, 36u);
    EXPECT_EQ(request.flags, clip_buffer_flags);
    EXPECT_EQ(request.bytes, clip.size());
    EXPECT_EQ(request.reserved, 0u);
    EXPECT_EQ(request.format.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(request.format.nChannels, 1u);
    EXPECT_EQ(request.format.nSamplesPerSec, 22050u);
    EXPECT_EQ(request.format.nAvgBytesPerSec, 44100u);
    EXPECT_EQ(request.format.nBlockAlign, 2u);
    EXPECT_EQ(request.format.wBitsPerSample, 16u);
    EXPECT_EQ(request.format.cbSize, 0u);
    EXPECT_TRUE(IsEqualGUID(request.algorithm, GUID_NULL));
    EXPECT_EQ(request.outer, nullptr);
    EXPECT_EQ(request.result, DS_OK);
}

TEST_F(clip_playback, fills_the_whole_buffer_with_the_samples_and_plays_it_from_the_start) {
    rig.click(3);
    const faults::sound_log log = rig.sound_log();
    ASSERT_EQ(log.locks.size(), 1u);
    const faults::lock_call& lock = log.locks[0];
    EXPECT_EQ(lock.offset, 0u);
    EXPECT_EQ(lock.bytes, clip.size());
    EXPECT_EQ(lock.flags, 0u);

    ASSERT_EQ(log.unlocks.size(), 1u);
    const faults::unlock_call& unlock = log.unlocks[0];
    EXPECT_EQ(unlock.ptr1, lock.ptr1);
    EXPECT_EQ(unlock.len1, lock.len1);
    EXPECT_EQ(unlock.ptr2, lock.ptr2);
    EXPECT_EQ(unlock.len2, lock.len2);

    ASSERT_EQ(log.positions.size(), 1u);
    EXPECT_EQ(log.positions[0].position, 0u);
    ASSERT_EQ(log.plays.size(), 1u);
    const faults::play_call& play = log.plays[0];
    EXPECT_EQ(play.reserved, 0u);
    EXPECT_EQ(play.priority, 0u);
    EXPECT_EQ(play.flags, 0u) << "the click loops";
    EXPECT_EQ(play.result, DS_OK);
    EXPECT_EQ(play.contents, clip);

    EXPECT_LT(log.buffer_requests[0].seq, lock.seq);
    EXPECT_LT(lock.seq, unlock.seq);
    EXPECT_LT(unlock.seq, log.positions[0].seq);
    EXPECT_LT(log.positions[0].seq, play.seq);
}

TEST_F(clip_playback, every_click_plays_again) {
    for (int detent : {0, 6, 2, 2}) rig.click(detent);
    EXPECT_EQ(rig.plays(), 4u);
    EXPECT_EQ(rig.key_events(), 4u);
}

TEST_F(clip_playback, a_clip_replaced_between_clicks_is_heard_at_the_next_click) {
    rig.click(1);
    const wave::bytes other = wave::samples(1200, 7);
    rig.put_clip(wave::plain(other));
    rig.click(2);
    const faults::sound_log log = rig.sound_log();
    ASSERT_EQ(log.plays.size(), 2u);
    EXPECT_EQ(log.plays[0].contents, clip);
    EXPECT_EQ(log.plays[1].contents, other);
}

TEST(clip_playback_as_built, plays_the_built_click_exactly) {
    std::ifstream in(CLICK_FILE, std::ios::binary);
    const wave::bytes file{std::istreambuf_iterator<char>(in), {}};
    // The build writes a 16-byte "fmt ": the samples start at byte 44.
    ASSERT_GT(file.size(), 44u);
    uint32_t data_bytes = 0;
    std::memcpy(&data_bytes, &file[40], sizeof data_bytes);
    ASSERT_EQ(file.size(), 44u + data_bytes);

    sound_rig rig;
    rig.start();
    rig.click(6);
    const faults::sound_log log = rig.sound_log();
    ASSERT_EQ(log.plays.size(), 1u);
    EXPECT_EQ(log.plays[0].contents, wave::bytes(file.begin() + 44, file.end()));
}

// No clip: the first click looks for it once and silences the clicks; later
// ones touch no file and allocate nothing, though the clip has come since.
TEST(clip_playback_silenced, touches_no_file_and_allocates_nothing) {
    standin::host_options options;
    options.click_source.reset();
    sound_rig rig(options);
    rig.start();
    EXPECT_TRUE(click_opens_clip(rig, 1)) << "the missing clip is looked for once";
    EXPECT_EQ(rig.ledger.mmio().opens[0].result, nullptr);
    EXPECT_EQ(rig.ledger.held().blocks, 1u) << "the Sound folder is kept";
    rig.put_clip(wave::plain(wave::samples(400)));
    call_counts later(rig.ledger);
    for (int detent : {2, 3, 4}) rig.click(detent);
    EXPECT_EQ(later[api::mmioOpenA], 0u);
    EXPECT_EQ(later[api::GlobalAlloc], 0u);
    EXPECT_EQ(rig.plays(), 0u);
    EXPECT_EQ(rig.key_events(), 4u);
    EXPECT_EQ(rig.host.ligar_byte(), 4);
}

// A click between install and the first initialize: the knob turns, the
// event goes out, the sound isn't touched and isn't silenced.
TEST(clip_playback_before_initialize, turns_the_knob_and_leaves_the_sound_on) {
    sound_rig rig;
    rig.install();
    rig.click(5);
    EXPECT_EQ(rig.key_events(), 1u);
    EXPECT_EQ(rig.knob_frame(), 5u);
    EXPECT_EQ(rig.opens(), 0u);
    EXPECT_EQ(rig.allocs(), 0u);

    rig.initialize();
    rig.click(2);
    EXPECT_EQ(rig.plays(), 1u);
    rig.host.kill();
    EXPECT_TRUE(rig.ledger.held().none()) << rig.ledger.held();
}

}  // namespace
}  // namespace sound_tests
