// The printers of a POSIX system, from a printcap file.
#include "platform/posix/print_queues.h"

#include <gtest/gtest.h>

namespace {

using vesta::platform::posix::ParsePrintcap;

TEST(PrintQueuesTest, EachPrintcapEntryGivesItsFirstName) {
  const std::string printcap =
      "# printers of the office\n"
      "lp|Local printer:\\\n"
      "\t:sd=/var/spool/lpd/lp:\\\n"
      "\t:lp=/dev/lp0:\n"
      "spare:\\\n"
      "colour-continued:is=not an entry:\n"
      "colour:rm=print.example:rp=colour:\n"
      "\n"
      "  :indented=not an entry:\n"
      "plain\r\n";
  std::vector<std::string> expected = {"lp", "spare", "colour", "plain"};
  EXPECT_EQ(ParsePrintcap(printcap), expected);
  EXPECT_TRUE(ParsePrintcap("").empty());
}

}  // namespace
