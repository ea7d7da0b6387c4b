// The host's own record layouts, for both pointer widths, and the sentinel-filled buffers.
#include "qevhost/record_layout.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "qevhost/record_buffer.h"

using namespace qevhost;

namespace {

// Module-written fields must not overlap and must end where the record's listed fields end.
void expectFieldsDisjointWithin(const std::vector<ByteSpan>& fields, std::size_t end) {
    std::vector<ByteSpan> sorted = fields;
    std::sort(sorted.begin(), sorted.end(),
              [](ByteSpan a, ByteSpan b) { return a.offset < b.offset; });
    for (std::size_t i = 1; i < sorted.size(); ++i) {
        EXPECT_LE(sorted[i - 1].offset + sorted[i - 1].length, sorted[i].offset)
            << "fields at " << sorted[i - 1].offset << " and " << sorted[i].offset;
    }
    EXPECT_EQ(sorted.back().offset + sorted.back().length, end);
}

}  // namespace

TEST(RecordLayout, ParamInfoIsPackedOn64Bit) {
    // A natural-alignment layout would put the caption pointer at 8 and the format at 56.
    EXPECT_EQ(kLayout64.paramInfo.caption, 4u);
    EXPECT_EQ(kLayout64.paramInfo.format, 52u);
    EXPECT_EQ(kLayout64.paramInfo.listItems, 60u);
    EXPECT_EQ(kLayout64.paramInfo.isOutput, 76u);
    EXPECT_EQ(kLayout64.paramInfo.startsGroup, 92u);
    EXPECT_EQ(kLayout32.paramInfo.format, 44u);
    EXPECT_EQ(kLayout32.paramInfo.startsGroup, 72u);
}

TEST(RecordLayout, ModuleInfoAndCallBackMessageOffsets) {
    const auto& m32 = kLayout32.moduleInfo;
    const auto& m64 = kLayout64.moduleInfo;
    EXPECT_EQ((std::vector<std::size_t>{m32.name, m32.description, m32.moduleType, m32.hostLookup,
                                        m32.numberOfParams, m32.optionCode, m32.version}),
              (std::vector<std::size_t>{0, 4, 8, 12, 16, 28, 60}));
    EXPECT_EQ((std::vector<std::size_t>{m64.name, m64.description, m64.moduleType, m64.hostLookup,
                                        m64.numberOfParams, m64.optionCode, m64.version}),
              (std::vector<std::size_t>{0, 8, 16, 20, 24, 36, 80}));
    EXPECT_EQ(kLayout32.callBackMessage.paramIndex, 4u);
    EXPECT_EQ(kLayout32.callBackMessage.messageDetail, 8u);
    EXPECT_EQ(kLayout64.callBackMessage.paramIndex, 8u);
    EXPECT_EQ(kLayout64.callBackMessage.messageDetail, 16u);
}

TEST(RecordLayout, HostServicesSitWherePointerSizedFieldsPutThem) {
    // From offset 36 on every HostInfo field is pointer-sized: 64-bit = 2 x 32-bit - 4.
    const auto& h32 = kLayout32.hostInfo;
    const auto& h64 = kLayout64.hostInfo;
    const std::size_t at32[] = {h32.lookupHostValue, h32.setEventSize,       h32.setEventValue,
                                h32.getEventValue,   h32.setEventArrayValue, h32.reportError};
    const std::size_t at64[] = {h64.lookupHostValue, h64.setEventSize,       h64.setEventValue,
                                h64.getEventValue,   h64.setEventArrayValue, h64.reportError};
    const std::size_t expected32[] = {36, 60, 80, 84, 88, 352};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(at32[i], expected32[i]);
        EXPECT_EQ(at64[i], 2 * at32[i] - 4);
    }
}

TEST(RecordLayout, FieldsAreDisjointAndFillTheListedRecord) {
    for (const RecordLayout* layout : {&kLayout32, &kLayout64}) {
        SCOPED_TRACE(layout->pointerSize);
        expectFieldsDisjointWithin(moduleInfoFields(*layout), layout->moduleInfoEnd);
        expectFieldsDisjointWithin(paramInfoFields(*layout), layout->paramInfoEnd);
    }
    EXPECT_EQ(&kNativeLayout, sizeof(void*) == 4 ? &kLayout32 : &kLayout64);
}

TEST(RecordBuffer, UnwrittenFieldsReadAsAbsent) {
    RecordBuffer record(32);
    EXPECT_FALSE(record.writtenInt32(4));
    EXPECT_FALSE(record.writtenFloat(8));
    EXPECT_FALSE(record.writtenText(12));
    record.setInt32(4, 0);
    record.setFloat(8, -1.5f);
    record.setPointer(12, 0);
    EXPECT_EQ(record.writtenInt32(4), 0);
    EXPECT_EQ(record.writtenFloat(8), -1.5f);
    EXPECT_FALSE(record.writtenText(12));  // a null text pointer carries no text
    static const char caption[] = "Gain";
    record.setPointer(12, reinterpret_cast<intptr_t>(caption));
    EXPECT_EQ(record.writtenText(12), "Gain");
    // A field with one byte written is no longer sentinel.
    record.data()[21] = 0;
    EXPECT_EQ(record.writtenInt32(20).has_value(), true);
}

TEST(RecordBuffer, ChangedOutsideAllowsOnlyTheGivenSpans) {
    const RecordBuffer before(16);
    RecordBuffer after = before;
    after.setInt32(4, 7);
    after.data()[10] = 0;
    after.data()[15] = 1;
    EXPECT_EQ(after.changedOutside({{4, 4}}, before), (std::vector<std::size_t>{10, 15}));
    EXPECT_EQ(after.changedOutside({{4, 4}, {8, 8}}, before), std::vector<std::size_t>{});
}
