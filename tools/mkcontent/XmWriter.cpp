// The .xm layout: header, patterns, then instruments each followed by its sample header and
// delta-coded sample data.
#include "XmWriter.h"

#include "core/BinaryWriter.h"

#include <algorithm>

namespace orv {
namespace {

void FixedText(BinaryWriter& w, const std::string& text, size_t size) {
    std::string padded = text.substr(0, size);
    padded.resize(size, '\0');
    w.Bytes(padded.data(), size);
}

void WriteInstrument(BinaryWriter& w, const XmInstrument& instrument) {
    w.U32(263); // instrument header size, up to the sample headers
    FixedText(w, instrument.Name, 22);
    w.U8(0);
    w.U16(1); // one sample
    w.U32(40); // sample header size
    for (int i = 0; i < 96; ++i) {
        w.U8(0); // every note plays sample 0
    }
    const auto& env = instrument.VolumeEnvelope;
    for (size_t i = 0; i < 12; ++i) {
        w.U16(i < env.size() ? env[i].first : 0);
        w.U16(i < env.size() ? env[i].second : 0);
    }
    for (int i = 0; i < 24; ++i) {
        w.U16(0); // panning envelope
    }
    w.U8(static_cast<uint8_t>(std::min<size_t>(env.size(), 12)));
    w.U8(0);
    w.U8(static_cast<uint8_t>(std::max(0, instrument.SustainPoint)));
    w.U8(0);
    w.U8(0);
    w.U8(0);
    w.U8(0);
    w.U8(0);
    w.U8(static_cast<uint8_t>((env.empty() ? 0 : 1) | (instrument.SustainPoint >= 0 ? 2 : 0)));
    w.U8(0);
    w.U8(0); // vibrato type, sweep, depth, rate
    w.U8(0);
    w.U8(0);
    w.U8(0);
    w.U16(instrument.Fadeout);
    for (int i = 0; i < 22; ++i) {
        w.U8(0);
    }
    const XmSample& s = instrument.Sample;
    w.U32(static_cast<uint32_t>(s.Data.size() * 2)); // lengths in bytes for 16-bit samples
    w.U32(s.LoopStart * 2);
    w.U32(s.LoopLength * 2);
    w.U8(s.Volume);
    w.I8(s.Finetune);
    w.U8(static_cast<uint8_t>((s.LoopLength > 0 ? 1 : 0) | 0x10)); // forward loop, 16-bit
    w.U8(128);
    w.I8(s.RelativeNote);
    w.U8(0);
    FixedText(w, instrument.Name, 22);
    int16_t previous = 0;
    for (const int16_t v : s.Data) {
        w.I16(static_cast<int16_t>(v - previous));
        previous = v;
    }
}

} // namespace

std::vector<uint8_t> WriteXm(const XmModule& m) {
    BinaryWriter w;
    FixedText(w, "Extended Module: ", 17);
    FixedText(w, m.Name, 20);
    w.U8(0x1A);
    FixedText(w, "orvane-mkcontent", 20);
    w.U16(0x0104);
    w.U32(276);
    w.U16(static_cast<uint16_t>(m.Orders.size()));
    w.U16(m.RestartPosition);
    w.U16(static_cast<uint16_t>(m.Channels));
    w.U16(static_cast<uint16_t>(m.Patterns.size()));
    w.U16(static_cast<uint16_t>(m.Instruments.size()));
    w.U16(1); // linear frequency table
    w.U16(static_cast<uint16_t>(m.Speed));
    w.U16(static_cast<uint16_t>(m.Tempo));
    for (size_t i = 0; i < 256; ++i) {
        w.U8(i < m.Orders.size() ? m.Orders[i] : 0);
    }
    for (const XmPattern& p : m.Patterns) {
        w.U32(9);
        w.U8(0);
        w.U16(static_cast<uint16_t>(p.Rows));
        w.U16(static_cast<uint16_t>(p.Cells.size() * 5));
        for (const XmCell& c : p.Cells) {
            w.U8(c.Note);
            w.U8(c.Instrument);
            w.U8(c.Volume);
            w.U8(c.Effect);
            w.U8(c.Param);
        }
    }
    for (const XmInstrument& instrument : m.Instruments) {
        WriteInstrument(w, instrument);
    }
    return w.Take();
}

} // namespace orv
