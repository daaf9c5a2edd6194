// A small writer of FastTracker 2 extended modules (.xm): 16-bit samples with loops, one
// sample per instrument with a volume envelope, and unpacked patterns.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace orv {

// XM notes: 1 is C-0, 49 is C-4; 97 releases the note.
constexpr uint8_t kXmKeyOff = 97;
constexpr uint8_t XmNote(int octave, int semitone) { return static_cast<uint8_t>(octave * 12 + semitone + 1); }

struct XmSample {
    std::vector<int16_t> Data;
    uint32_t LoopStart = 0;
    uint32_t LoopLength = 0; // 0: no loop
    uint8_t Volume = 64;
    int8_t Finetune = 0;
    int8_t RelativeNote = 0;
};

struct XmInstrument {
    std::string Name;
    XmSample Sample;
    std::vector<std::pair<uint16_t, uint16_t>> VolumeEnvelope; // (tick, 0..64); empty for none
    int SustainPoint = -1;
    uint16_t Fadeout = 0;
};

struct XmCell {
    uint8_t Note = 0;
    uint8_t Instrument = 0; // 1-based, 0 for none
    uint8_t Volume = 0;     // 0x10 + 0..64 sets the volume; 0 for none
    uint8_t Effect = 0;
    uint8_t Param = 0;
};

struct XmPattern {
    int Rows = 64;
    int Channels = 8;
    std::vector<XmCell> Cells; // Rows * Channels, row after row
    XmPattern(int rows, int channels) : Rows(rows), Channels(channels), Cells(static_cast<size_t>(rows) * channels) {}
    XmCell& At(int row, int channel) { return Cells[static_cast<size_t>(row) * Channels + channel]; }
};

struct XmModule {
    std::string Name;
    int Channels = 8;
    int Speed = 6;  // ticks per row
    int Tempo = 125; // BPM
    std::vector<uint8_t> Orders;
    uint16_t RestartPosition = 0;
    std::vector<XmPattern> Patterns;
    std::vector<XmInstrument> Instruments;
};

std::vector<uint8_t> WriteXm(const XmModule& module);

} // namespace orv
