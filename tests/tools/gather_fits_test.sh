#!/bin/sh
# SPDX-FileCopyrightText: 2026 The VELDORIN developers
# SPDX-License-Identifier: GPL-3.0-or-later
# tools/gather-fits on two results folders: one run whose table has a column the others
# lack, one that printed nothing, a quoted residue name, and a report without a diffusion
# object. Argument: the tool.
set -eu
gather=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir local cluster

printf 'residue,model,tm_ps,S2\n1,m1,4800,0.85\n"A,2",m2,4800,0.8\n' >local/P1.csv
: >local/P2.csv
printf 'residue,model,tm_ps,S2,angle_deg\n7,m1,6100,0.9,33\n' >cluster/P3.csv
printf '{"version": "0.1.0", "diffusion": {"model": "prolate", "tm_ps": 4800.0,
  "tm_ps_error": 25, "D_per_s": [3.1e7, 3.1e7, 4.5e7], "D_per_s_error": [2e5, 2e5, 9e5],
  "axes": [[1, 0, 0], [0, 1, 0], [0, 0, 1]]}}\n' >local/P1.report.json
printf '{"version": "0.1.0", "tm": {"mode": "global"}}\n' >cluster/P3.report.json

status=0
"$gather" --diffusion diffusion.csv local cluster >fits.csv 2>errors.txt || status=$?

fail() { echo "gather_fits_test: $1" >&2; cat "$2" >&2; exit 1; }
[ "$status" -eq 1 ] || fail "exit status $status, not 1 for the entries left out" errors.txt
grep -q 'P2.csv: empty' errors.txt || fail "the empty table is not named" errors.txt
grep -q 'P3.report.json: no diffusion' errors.txt || fail "the report is not named" errors.txt
cat >expected.csv <<'TABLE'
entry,residue,model,tm_ps,S2,angle_deg
P1,1,m1,4800,0.85,
P1,"A,2",m2,4800,0.8,
P3,7,m1,6100,0.9,33
TABLE
cmp -s fits.csv expected.csv || fail "merged table differs:" fits.csv
cat >expected.csv <<'TABLE'
entry,model,tm_ps,tm_ps_error,D_per_s_1,D_per_s_1_error,D_per_s_2,D_per_s_2_error,D_per_s_3,D_per_s_3_error
P1,prolate,4800.0,25,3.1e7,2e5,3.1e7,2e5,4.5e7,9e5
TABLE
cmp -s diffusion.csv expected.csv || fail "diffusion table differs:" diffusion.csv

"$gather" cluster >/dev/null || fail "exit status not 0 for a complete folder" /dev/null
"$gather" local >/dev/null 2>&1 && fail "exit status 0 with an empty table" /dev/null

cp local/P1.csv cluster/P1.csv
"$gather" local cluster >/dev/null 2>errors.txt && fail "an entry in two folders is taken" errors.txt
grep -q 'entry P1 is in' errors.txt || fail "the entry in two folders is not named" errors.txt
