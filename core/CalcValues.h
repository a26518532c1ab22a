#pragma once

namespace pelagrin {

// The figures of the last calculation, each rounded to a Single exactly as it is shown and
// logged. One record per window, all zero until the first calculation; only Calculate writes
// it, so the log always reports what the diver last saw calculated.
struct CalcValues {
    float AD = 0;     // actual depth, fsw (magnitude of the typed depth)
    float O2 = 0;     // oxygen in the mix, percent (magnitude of the typed value)
    float EAD = 0;    // equivalent air depth, fsw
    float MOD14 = 0;  // maximum operating depth at 1.4 atm O2, fsw
    float MOD16 = 0;  // maximum operating depth at 1.6 atm O2, fsw
    float PO2 = 0;    // O2 partial pressure at AD, atm
    float PN2 = 0;    // N2 partial pressure at AD, atm
    float TATA = 0;   // total absolute pressure at AD, ATA
    float BMX14 = 0;  // best mix for 1.4 ATA of O2 at AD, whole percent
    float BMX16 = 0;  // best mix for 1.6 ATA of O2 at AD, whole percent
};

}  // namespace pelagrin
