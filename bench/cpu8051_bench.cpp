// Emulated 8051 instructions per second, on the pod firmware's own main loop (the code the
// virtual pod runs whenever the host or the front end changes something) and on an arithmetic
// loop of the instruction table's kinds. The baseline walks the same instruction bytes in the
// same order as a plain loop that only reads them, so the ratio is what interpreting costs over
// fetching. The processor's check for a waiting program is measured against the bare core on a
// loop that never waits.
#include "harness.h"
#include "usb/firmware/firmware_image.h"
#include "usb/sim/cpu8051.h"
#include "usb/sim/pod_processor.h"

#include <cstdio>
#include <vector>

using namespace podcore::usb;

namespace {
constexpr uint32_t kInstructions = 20'000'000;

void Load(sim::PodController& controller, const uint8_t* program, size_t bytes) {
    controller.HostWriteReset(1);
    controller.HostWrite(0, {program, bytes});
    controller.HostWriteReset(0);
}

struct Figures {
    double emulated; // instructions per second
    double walked;   // the same instruction bytes per second, read in the same order
};

// Runs `program` into its loop, then measures the loop.
Figures Measure(const uint8_t* program, size_t bytes) {
    sim::PodController controller;
    Load(controller, program, bytes);
    sim::Cpu8051 cpu(controller);
    for (int i = 0; i < 100'000; ++i)
        cpu.Step();
    std::vector<uint16_t> trace(kInstructions);
    for (uint16_t& pc : trace) {
        pc = cpu.State().pc;
        cpu.Step();
    }
    const double emulated = bench::MedianSeconds(3, [&] {
        for (uint32_t i = 0; i < kInstructions; ++i)
            cpu.Step();
        bench::Keep(cpu.State().pc);
    });
    const std::span<const uint8_t> code = controller.ProgramMemory();
    const double walked = bench::MedianSeconds(3, [&] {
        unsigned sum = 0;
        for (const uint16_t pc : trace)
            sum += code[pc] + code[(pc + 1) & 0x1FFF];
        bench::Keep(sum);
    });
    return {kInstructions / emulated, kInstructions / walked};
}

// MOV DPTR,#0E000h; loop: ADD A,R7; MOVX @DPTR,A; INC DPTR; XRL A,#5Ah; DA A; MOV R5,A;
// SUBB A,@R0; RLC A; CJNE A,#7Fh,next; next: DJNZ R6,loop; ANL DPH,#0E1h; SJMP loop
const std::vector<uint8_t> kArithmetic = {0x90, 0xE0, 0x00, 0x2F, 0xF0, 0xA3, 0x64, 0x5A,
                                          0xD4, 0xFD, 0x96, 0x33, 0xB4, 0x7F, 0x00, 0xDE,
                                          0xF2, 0x53, 0x83, 0xE1, 0x80, 0xED};
} // namespace

int main() {
    const Figures firmware = Measure(firmware::EmbeddedImage(), firmware::kImageBytes);
    bench::Figure("firmware main loop: emulated instructions", firmware.emulated, "per s");
    bench::Figure("firmware main loop: the same bytes walked", firmware.walked, "per s");
    bool met = bench::Ratio("firmware main loop: emulated / walked",
                            firmware.emulated / firmware.walked, 0.05);

    const Figures arithmetic = Measure(kArithmetic.data(), kArithmetic.size());
    bench::Figure("arithmetic loop: emulated instructions", arithmetic.emulated, "per s");
    bench::Figure("arithmetic loop: the same bytes walked", arithmetic.walked, "per s");
    met &= bench::Ratio("arithmetic loop: emulated / walked",
                        arithmetic.emulated / arithmetic.walked, 0.05);

    // The arithmetic loop writes memory on every pass: it never waits, so the processor runs
    // every instruction and looks for a repeat after each.
    sim::PodController controller;
    Load(controller, kArithmetic.data(), kArithmetic.size());
    sim::PodProcessor processor(controller);
    const double checked = bench::MedianSeconds(3, [&] { processor.Run(kInstructions); });
    if (processor.Executed() != 3ull * kInstructions) {
        std::printf("the arithmetic loop was taken for waiting\n");
        return 1;
    }
    bench::Figure("arithmetic loop through the processor", kInstructions / checked, "per s");
    met &=
        bench::Ratio("processor / bare core", kInstructions / checked / arithmetic.emulated, 0.5);
    return met ? 0 : 1;
}
