#include "child_output.h"

#include "platform/process.h"
#include "runtime/memory.h"
#include "runtime/runtime.h"

#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <array>
#include <cstring>
#include <limits>
#include <sys/mman.h>
#include <unistd.h>

namespace {

using runtime::ArrayView;
using runtime::ValueType;
using ::testing::HasSubstr;

constexpr char kLiteral[] = "常量文本";

// A constant area that ends right before an inaccessible page, so reading
// one byte past its end faults.
class GuardedArea {
public:
    explicit GuardedArea(std::size_t size)
    {
        std::size_t page = std::size_t(sysconf(_SC_PAGESIZE));
        m_base = static_cast<std::uint8_t*>(
            mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
        m_page = page;
        mprotect(m_base + page, page, PROT_NONE);
        m_start = m_base + page - size;
        m_size = size;
    }
    ~GuardedArea() { munmap(m_base, 2 * m_page); }
    std::uint8_t* start() const { return m_start; }
    std::size_t size() const { return m_size; }

private:
    std::uint8_t* m_base;
    std::size_t m_page;
    std::uint8_t* m_start;
    std::size_t m_size;
};

class Memory : public ::testing::Test {
protected:
    runtime::Memory& memory() { return runtime::TheRuntime().memory(); }
    void useArea(const std::uint8_t* start, std::size_t size) { memory().setConstantArea(start, size); }
    void useProgramConstants()
    {
        platform::MemoryRange r = platform::ReadOnlySegmentContaining(kLiteral);
        useArea(r.start, r.size);
    }
    void TearDown() override { memory().forgetConstantArea(); }
};

TEST_F(Memory, FreeIgnoresNullAndConstants)
{
    useProgramConstants();
    ASSERT_TRUE(memory().isConstant(kLiteral));
    // Freeing a literal through the heap would abort the process.
    runtime::Free(nullptr);
    runtime::Free(kLiteral);
    runtime::Free(kLiteral + 2);
    EXPECT_STREQ(kLiteral, "常量文本");

    void* heap = runtime::Allocate(16);
    EXPECT_FALSE(memory().isConstant(heap));
    runtime::Free(heap);
}

TEST_F(Memory, ReallocateOfConstantCopiesNoMoreThanTheAreaHolds)
{
    GuardedArea area(8);
    std::memcpy(area.start(), "1234567", 8);
    useArea(area.start(), area.size());

    // From the middle of the area: only the bytes up to its end exist.
    auto* fromMiddle = static_cast<char*>(runtime::Reallocate(area.start() + 4, 4096));
    ASSERT_NE(fromMiddle, nullptr);
    EXPECT_FALSE(memory().isConstant(fromMiddle));
    EXPECT_STREQ(fromMiddle, "567");

    auto* whole = static_cast<char*>(runtime::Reallocate(area.start(), 64));
    EXPECT_STREQ(whole, "1234567");
    // The copy is an ordinary heap block: it grows in place of the old one.
    whole = static_cast<char*>(runtime::Reallocate(whole, 1 << 20));
    EXPECT_STREQ(whole, "1234567");

    auto* shorter = static_cast<char*>(runtime::Reallocate(area.start(), 3));
    EXPECT_EQ(std::memcmp(shorter, "123", 3), 0);
    EXPECT_STREQ(reinterpret_cast<const char*>(area.start()), "1234567");

    runtime::Free(fromMiddle);
    runtime::Free(whole);
    runtime::Free(shorter);
    auto* fresh = static_cast<char*>(runtime::Reallocate(nullptr, 5));
    ASSERT_NE(fresh, nullptr);
    runtime::Free(fresh);
}

TEST_F(Memory, TextsAndByteBlocksInTheirLayouts)
{
    EXPECT_EQ(runtime::NewText(""), nullptr);
    char* text = runtime::NewText(std::string_view("ab\0c", 4).substr(0, 2));
    EXPECT_STREQ(text, "ab");
    runtime::Free(text);

    EXPECT_EQ(runtime::NewBytes({}), nullptr);
    const std::uint8_t data[] = {0, 7, 255};
    std::uint8_t* block = runtime::NewBytes(data);
    EXPECT_EQ(runtime::LoadU32(block), 1u);
    EXPECT_EQ(runtime::LoadU32(block + 4), 3u);
    auto bytes = runtime::BytesOf(block);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), std::vector<std::uint8_t>({0, 7, 255}));
    EXPECT_TRUE(runtime::BytesOf(nullptr).empty());
    runtime::Free(block);
}

TEST_F(Memory, TextArrayFreesHeapElementsButNotConstantOnes)
{
    useProgramConstants();
    const std::uint32_t dims[] = {2, 3};
    void* array = runtime::NewArray(ValueType::Text, dims);
    ArrayView view(array, ValueType::Text);
    ASSERT_EQ(view.dimensionCount(), 2u);
    EXPECT_EQ(view.dimension(0), 2u);
    EXPECT_EQ(view.dimension(1), 3u);
    ASSERT_EQ(view.elementCount(), 6u);
    EXPECT_EQ(view.blockSize(), 12 + 6 * sizeof(void*));
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(view.element(i).asText(), nullptr);

    // Elements: heap texts, one constant text, one left empty.
    auto* slots = const_cast<std::uint8_t*>(view.elements());
    for (std::size_t i = 0; i < 6; ++i) {
        const char* item = i == 2 ? kLiteral : i == 4 ? nullptr : runtime::NewText("元素");
        std::memcpy(slots + i * sizeof(void*), &item, sizeof item);
    }
    EXPECT_STREQ(view.element(0).asText(), "元素");
    EXPECT_EQ(view.element(2).asText(), kLiteral);
    runtime::FreeArray(array, ValueType::Text);
    EXPECT_STREQ(kLiteral, "常量文本");
    runtime::FreeArray(nullptr, ValueType::Text);
}

TEST_F(Memory, FreeValueReleasesWhatAValueOwns)
{
    useProgramConstants();
    runtime::FreeValue(runtime::TypedValue::text(runtime::NewText("x")));
    runtime::FreeValue(runtime::TypedValue::text(kLiteral));
    const std::uint8_t b[] = {1};
    runtime::FreeValue(runtime::TypedValue::bytes(runtime::NewBytes(b)));
    auto* font = static_cast<runtime::FontValue*>(runtime::Allocate(sizeof(runtime::FontValue)));
    *font = {};
    font->faceName = runtime::NewText("宋体");
    runtime::FreeValue(runtime::TypedValue::pointer(ValueType::Font, font));
    const std::uint32_t dims[] = {1};
    void* bytesArray = runtime::NewArray(ValueType::Bytes, dims);
    std::uint8_t* element = runtime::NewBytes(b);
    std::memcpy(const_cast<std::uint8_t*>(ArrayView(bytesArray, ValueType::Bytes).elements()), &element,
                sizeof element);
    runtime::FreeValue(runtime::TypedValue::array(ValueType::Bytes, bytesArray));
    runtime::FreeValue(runtime::TypedValue::integer(5));
    EXPECT_STREQ(kLiteral, "常量文本");
}

// An integer array {1 dimension of 3: 7, 8, 9} as the program stores it.
struct StoredIntArray {
    std::uint32_t dims = 1;
    std::uint32_t size = 3;
    std::int32_t items[3] = {7, 8, 9};
};

TEST_F(Memory, MakeArrayWritableCopiesOnlyConstantArrays)
{
    static const StoredIntArray stored;
    useArea(reinterpret_cast<const std::uint8_t*>(&stored), sizeof stored);
    void* variable = const_cast<StoredIntArray*>(&stored);
    runtime::MakeArrayWritable(4, &variable);
    ASSERT_NE(variable, &stored);
    EXPECT_FALSE(memory().isConstant(variable));
    ArrayView copy(variable, ValueType::Int);
    ASSERT_EQ(copy.elementCount(), 3u);
    EXPECT_EQ(copy.element(0).asInt(), 7);
    EXPECT_EQ(copy.element(2).asInt(), 9);
    // Writable now; a second call leaves the heap copy alone.
    static_cast<std::int32_t*>(variable)[2] = 70;
    void* before = variable;
    runtime::MakeArrayWritable(4, &variable);
    EXPECT_EQ(variable, before);
    EXPECT_EQ(copy.element(0).asInt(), 70);
    runtime::Free(variable);

    void* none = nullptr;
    runtime::MakeArrayWritable(4, &none);
    EXPECT_EQ(none, nullptr);
    runtime::MakeArrayWritable(4, nullptr);
}

TEST_F(Memory, MakeArrayWritableReadsNoFurtherThanTheArea)
{
    // A stored array that claims more elements than the area holds.
    GuardedArea area(12);
    const std::uint32_t header[3] = {1, 1000, 42};
    std::memcpy(area.start(), header, sizeof header);
    useArea(area.start(), area.size());
    void* variable = area.start();
    runtime::MakeArrayWritable(4, &variable);
    ASSERT_NE(variable, area.start());
    EXPECT_EQ(std::memcmp(variable, header, sizeof header), 0);
    static_cast<std::int32_t*>(variable)[1001] = 1; // the whole claimed size exists
    runtime::Free(variable);

    // A dimension count the area cannot hold: not an array, left alone.
    const std::uint32_t bad[3] = {50, 1, 1};
    std::memcpy(area.start(), bad, sizeof bad);
    variable = area.start();
    runtime::MakeArrayWritable(4, &variable);
    EXPECT_EQ(variable, area.start());
}

TEST(MemoryFailure, AllocationThatCannotBeMetEndsTheProgramWithItsSize)
{
    const std::size_t huge = std::numeric_limits<std::size_t>::max() / 2 + 1;
    const std::string box = runtimetest::ErrorBox("运行时出错!\r\n\r\n错误信息：分配 " + std::to_string(huge) +
                                                  " 字节内存失败!\r\n\r\n0, 0\r\n");
    EXPECT_EXIT(
        {
            runtimetest::AnswerBoxesOnStderr();
            runtime::Allocate(huge);
            runtimetest::Mark("returned");
        },
        ::testing::ExitedWithCode(255), ::testing::AllOf(HasSubstr(box), ::testing::Not(HasSubstr("returned"))));
    EXPECT_EXIT(
        {
            runtimetest::AnswerBoxesOnStderr();
            void* block = runtime::Allocate(8);
            runtime::Reallocate(block, huge);
        },
        ::testing::ExitedWithCode(255), HasSubstr(box));
    // The libraries' variant answers null instead.
    EXPECT_EQ(runtime::AllocateOrNull(huge), nullptr);
}

} // namespace
