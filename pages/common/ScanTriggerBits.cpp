#include "pages/common/ScanTriggerBits.h"

#include "pages/RegisterBits.h"

namespace pages {

void ScanTriggerBits::TakeFlags()
{
    draft = BitOf(subSampling, 0);
    partial = BitOf(windowEnable, 0);
    random = BitOf(trigger1, 0);
    posi = BitOf(trigger1, 1);
    restartReset = BitOf(trigger1, 4);
    pulse = BitOf(trigger2, 0);
    multiple = BitOf(md1, 0);
    shutter = BitOf(md1, 1);
    bitDepth = RadioIndexFor(bitInfo & kBitDepthMask, kBitDepthCodes, bitDepth);
}

void ScanTriggerBits::MergeFlags(bool ownsRestartReset)
{
    MergeBit(subSampling, 0, draft);
    MergeBit(windowEnable, 0, partial);
    MergeBit(trigger2, 0, pulse);
    MergeBit(trigger1, 1, posi);
    MergeBit(trigger1, 0, random);
    if (ownsRestartReset)
        MergeBit(trigger1, 4, restartReset);
    MergeBit(md1, 1, shutter);
    MergeBit(md1, 0, multiple);
}

void ScanTriggerBits::MergeBitDepth()
{
    MergeRadio(bitInfo, kBitDepthMask, bitDepth, kBitDepthCodes);
}

} // namespace pages
