// SPDX-License-Identifier: GPL-3.0-or-later
// The libFuzzer entry of one target; FUZZ_TARGET names its function (FuzzTargets.h).
#include "FuzzTargets.h"
#include "hostlink/WendralDemon.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Host-link components made by a target take no part in a real link.
    TkdbCustomDemon::SetLinkSuspended(true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return FUZZ_TARGET(data, size);
}
