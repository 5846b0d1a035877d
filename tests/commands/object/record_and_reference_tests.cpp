// Objects that stand for records, objects written back to variables, interface
// variables written by reference, arrays passed by reference.
#include <gtest/gtest.h>

#include "object_commands.h"
#include "object_error.h"
#include "object_test_support.h"
#include "probe_class.h"
#include "runtime_interface.h"
#include "variant_commands.h"

namespace objtest {
namespace {

using testsupport::CallCommand;
using testsupport::TakeText;

class References : public ::testing::Test {
protected:
    ObjectVar probe;
    void SetUp() override {
        Start();
        RegisterProbeClass();
        ASSERT_EQ(CallCommand(cmd::CreateObject, {probe.Arg(), Name(kProbeClassText)}).low, 1u);
    }
};

// The command and service 2035 empty an object block alike.
void ClearBothWays(ObjectVar &object, bool service) {
    if (service) rt::RuntimeService(rt::kServiceClearObject, reinterpret_cast<intptr_t>(object.block), 0);
    else CallCommand(cmd::ClearObject, {object.Arg()});
}

TEST_F(References, ClearObjectDestroysTheRecordThroughItsInformation) {
    for (bool service : {false, true}) {
        RecordCounts counts;
        counts.original = new char[8]();
        ObjectVar record(cmd::NewObjectBlock(NewCountingRecordInfo(counts)));
        record.block->record = counts.original;
        ClearBothWays(record, service);
        EXPECT_EQ(counts.destroyed, 1) << service;
        EXPECT_EQ(counts.refs, 0) << service;
        EXPECT_EQ(record.block->record, nullptr);
        EXPECT_TRUE(record.Empty());
    }
}

TEST_F(References, ClearObjectFreesRecordDataWithoutInformation) {
    for (bool service : {false, true}) {
        ObjectVar record;
        record.block->record = rt::AllocateMemory(16);
        ClearBothWays(record, service);
        EXPECT_EQ(record.block->record, nullptr) << service;
    }
}

TEST_F(References, ARecordArgumentIsLentNotCleared) {
    RecordCounts counts;
    counts.original = new char[8]();
    {
        ObjectVar record(cmd::NewObjectBlock(NewCountingRecordInfo(counts)));
        record.block->record = counts.original;
        rt::TypedValue kind = CallCommand(cmd::ReadNumberProperty, {probe.Arg(), Name("Kind"), record.Arg()});
        EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectOk);
        EXPECT_EQ(kind.AsDouble(), VT_RECORD);
        EXPECT_EQ(counts.cleared, 0);   // the caller's record is untouched
        EXPECT_EQ(counts.destroyed, 0);
        EXPECT_EQ(counts.refs, 1);      // and its information keeps its one reference
    }
    EXPECT_EQ(counts.destroyed, 1);
}

TEST_F(References, OutObjectsReplaceTheVariablesObject) {
    int before = Probes().objects;
    ObjectVar other;
    ASSERT_EQ(CallCommand(cmd::CreateObject, {other.Arg(), Name(kProbeClassText)}).low, 1u);
    CallCommand(cmd::CallMethod, {probe.Arg(), Name("Give"), other.Ref()});
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectOk);
    EXPECT_EQ(other.block->object, probe.block->object);
    EXPECT_EQ(Probes().objects, before); // the other probe was released
    // A variable that holds no block yet gets one.
    cmd::ObjectBlock *none = nullptr;
    CallCommand(cmd::CallMethod, {probe.Arg(), Name("Give"), Address(rt::kTypeComObject, &none)});
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(none->object, probe.block->object);
    ObjectVar owner(none);
}

TEST_F(References, InterfaceVariablesAreWrittenByReference) {
    ObjectVar other;
    ASSERT_EQ(CallCommand(cmd::CreateObject, {other.Arg(), Name(kProbeClassText)}).low, 1u);
    EXPECT_EQ(CallCommand(cmd::WriteProperty, {probe.Arg(), Name("Partner"), other.Arg()}).low, 1u);
    EXPECT_EQ(Probes().lastPutFlags, DISPATCH_PROPERTYPUTREF);
    ObjectVar partner(ObjectOf(CallCommand(cmd::ReadObjectProperty, {probe.Arg(), Name("Partner")})));
    EXPECT_EQ(partner.block->object, other.block->object);
    EXPECT_EQ(CallCommand(cmd::WriteProperty, {probe.Arg(), Name("Level"), Int(3)}).low, 1u);
    CallCommand(cmd::WriteProperty, {probe.Arg(), Name("Partner"), Int(3)});
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectTypeMismatch);
    CallCommand(cmd::WriteProperty, {probe.Arg(), Name("Partner"), other.Arg()});
}

TEST_F(References, ArraysGoByReferenceToArrayFormals) {
    VariantVar items;
    ASSERT_EQ(CallCommand(cmd::CreateVariantArray, {items.Arg(), Int(10), Int(5)}).low, 1u);
    CallCommand(cmd::CallMethod, {probe.Arg(), Name("Grow"), items.Ref()});
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectOk);
    ASSERT_EQ(items->vt, VT_ARRAY | VT_VARIANT);
    EXPECT_EQ(items->parray->rgsabound[0].cElements, 2u);
    rt::TypedValue second = CallCommand(cmd::VariantToText, {items.Arg(), Int(2)});
    EXPECT_EQ(TakeText(second), "y");
    // Passed as a value, the caller's array stays as it was.
    VariantVar kept;
    ASSERT_EQ(CallCommand(cmd::CreateVariantArray, {kept.Arg(), Int(10), Int(5)}).low, 1u);
    CallCommand(cmd::CallMethod, {probe.Arg(), Name("Grow"), kept.Arg()});
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectOk);
    EXPECT_EQ(kept->parray->rgsabound[0].cElements, 5u);
}

TEST_F(References, AValueThatCannotTakeTheFormalTypeGoesByValue) {
    char *text = rt::MakeText("abc", 3);
    CallCommand(cmd::CallMethod, {probe.Arg(), Name("Store"), Address(rt::kTypeText, &text)});
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectTypeMismatch);
    EXPECT_STREQ(text, "abc");
    rt::FreeMemory(text);
}

} // namespace
} // namespace objtest
