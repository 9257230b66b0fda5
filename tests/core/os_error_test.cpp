#include "text/os_error.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <set>

#include "app/program_file.h"

namespace zorvan::text {
namespace {

// The reasons a student meets most are each told in a Greek sentence of their own, never the
// English one nor the number.
TEST(GreekSystemErrorTest, EachKnownReasonHasItsOwnSentence) {
    std::set<std::string> seen;
    for (int errnum : {ENOENT, ENOTDIR, EACCES, EPERM, ENOSPC, EROFS, EIO, EISDIR, EFBIG, EMFILE,
                       ENAMETOOLONG}) {
        const std::string sentence = GreekSystemError(errnum);
        EXPECT_TRUE(seen.insert(sentence).second) << errnum << " " << sentence;
        EXPECT_EQ(sentence.find("αριθμός"), std::string::npos) << errnum;
    }
}

TEST(GreekSystemErrorTest, OtherErrorsNameTheirNumber) {
    const struct {
        int errnum;
        const char* greek;
    } cases[] = {
        {EPROTO, "Σφάλμα συστήματος αριθμός 71"},
        {0, "Σφάλμα συστήματος αριθμός 0"},
        {-5, "Σφάλμα συστήματος αριθμός -5"},
        {100000, "Σφάλμα συστήματος αριθμός 100000"},
    };
    for (const auto& c : cases) EXPECT_EQ(GreekSystemError(c.errnum), c.greek);
}

TEST(GreekSystemErrorTest, FileMessagesCarryTheGreekReason) {
    app::FileStore store;
    const auto result = store.ReadAll("/no/such/folder/program.zrv");
    ASSERT_TRUE(std::holds_alternative<app::FileFailure>(result));
    const std::string& message = std::get<app::FileFailure>(result).message;
    EXPECT_NE(message.find("«/no/such/folder/program.zrv»"), std::string::npos) << message;
    EXPECT_NE(message.find("Δεν υπάρχει τέτοιο αρχείο ή κατάλογος"), std::string::npos) << message;
    EXPECT_EQ(message.find("No such"), std::string::npos) << message;
    EXPECT_NE(app::SaveFailureMessage("/x", std::make_error_code(std::errc::no_space_on_device))
                  .find("Δεν υπάρχει ελεύθερος χώρος στη συσκευή"),
              std::string::npos);
}

}  // namespace
}  // namespace zorvan::text
