// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace veldorin::test {

// Three residues of a protein with tm near 4.8 ns, at three fields, out of sequence order.
inline constexpr char kThreeResidues[] =
    "residue,field_mhz,quantity,value,error\n"
    "12,500,R1,2.4708,0.0492\n12,500,R2,6.5016,0.128\n12,500,NOE,0.57321,0.03\n"
    "12,600,R1,2.0697,0.0411\n12,600,R2,6.5679,0.133\n12,600,NOE,0.6579,0.03\n"
    "12,800,R1,1.5583,0.0314\n12,800,R2,7.5719,0.151\n12,800,NOE,0.62163,0.03\n"
    "3,500,R1,2.5408,0.0514\n3,500,R2,7.0543,0.143\n3,500,NOE,0.72191,0.03\n"
    "3,600,R1,2.0371,0.0426\n3,600,R2,7.2943,0.151\n3,600,NOE,0.79368,0.03\n"
    "3,800,R1,1.5725,0.032\n3,800,R2,8.8288,0.178\n3,800,NOE,0.84911,0.03\n"
    "7,500,R1,2.4574,0.0503\n7,500,R2,7.3776,0.151\n7,500,NOE,0.75775,0.03\n"
    "7,600,R1,2.1228,0.0418\n7,600,R2,8.1963,0.165\n7,600,NOE,0.73589,0.03\n"
    "7,800,R1,1.5746,0.0315\n7,800,R2,10.111,0.204\n7,800,NOE,0.83842,0.03\n";

}  // namespace veldorin::test
