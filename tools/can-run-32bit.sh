#!/usr/bin/env bash
# Exits 0 when this machine can run 32-bit Windows programs under Wine. The
# 32-bit Wine is a 32-bit Linux program: a kernel built or booted without
# 32-bit support (some virtual machines) refuses it ("Exec format error"),
# and then only the 64-bit build can be run here.
/usr/lib/wine/wine --version > /dev/null 2>&1
