// The substitute host's own safety nets, which every plug-in test relies on to
// catch misuse: they must fire when the plug-in side misbehaves.
#include "substitute_host/Host.h"
#include "substitute_host/HostErrors.h"
#include "substitute_host/suites/SuiteTables.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace glimster::integration {
namespace {

using substitute_host::Host;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

// Acquires an offered suite straight from the host's basic suite.
template <typename Suite>
const Suite& acquire(const char* name, std::int32_t version) {
  const void* table = nullptr;
  EXPECT_EQ(substitute_host::BasicSuite().AcquireSuite(name, version, &table), A_Err_NONE);
  return *static_cast<const Suite*>(table);
}

TEST(SubstituteHostSelfTest, RecordsACallOfASlotItDoesNotServe) {
  Host host;
  const auto& items = acquire<AEGP_ItemSuite10>("AEGP Item Suite", 10);

  const auto unserved = reinterpret_cast<A_Err (*)()>(items.AEGP_GetFirstProjItem);
  EXPECT_EQ(unserved(), substitute_host::kHostGenericError);

  EXPECT_THAT(host.problems(), ElementsAre(HasSubstr("slot 0 of \"AEGP Item Suite\" 10")));
}

TEST(SubstituteHostSelfTest, RecordsAHandleUsedAfterItWasGivenBack) {
  Host host;
  substitute_host::Item& comp =
      host.project().AddComposition(u"Comp", substitute_host::Frame(1, 1, 4), A_Time{0, 1});
  host.project().SetActive(&comp);
  const auto& items = acquire<AEGP_ItemSuite13>("AEGP Item Suite", 13);
  const auto& memory = acquire<AEGP_MemorySuite1>("AEGP Memory Suite", 1);
  AEGP_ItemH item = nullptr;
  AEGP_MemHandle name = nullptr;
  ASSERT_EQ(items.AEGP_GetActiveItem(&item), A_Err_NONE);
  ASSERT_EQ(items.AEGP_GetItemName(host.PluginId(), item, &name), A_Err_NONE);
  ASSERT_EQ(host.outstanding().mem_handles, 1u);

  EXPECT_EQ(memory.AEGP_FreeMemHandle(name), A_Err_NONE);
  EXPECT_EQ(memory.AEGP_FreeMemHandle(name), substitute_host::kHostParameterError);

  EXPECT_EQ(host.outstanding().mem_handles, 0u);
  EXPECT_THAT(host.problems(), ElementsAre(HasSubstr("used after it was given back")));
}

TEST(SubstituteHostSelfTest, RecordsSuitesItDoesNotOfferAndReleasesOfSuitesNotHeld) {
  Host host;
  const void* table = &host;

  EXPECT_EQ(substitute_host::BasicSuite().AcquireSuite("AEGP Item Suite", 9, &table),
            substitute_host::kSuiteNotOfferedError);
  EXPECT_EQ(table, nullptr);
  EXPECT_EQ(substitute_host::BasicSuite().ReleaseSuite("AEGP Command Suite", 1),
            substitute_host::kSuiteNotOfferedError);

  EXPECT_THAT(host.problems(),
              ElementsAre(HasSubstr("does not offer"), HasSubstr("does not hold")));
}

}  // namespace
}  // namespace glimster::integration
