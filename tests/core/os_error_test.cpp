#include "text/os_error.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <set>

#include "app/program_file.h"

namespace zorvan::text {
namespace {

struct KnownReason {
    int errnum;
    const char* greek;
};

const KnownReason kKnownReasons[] = {
    {ENOENT, "Δεν υπάρχει τέτοιο αρχείο ή κατάλογος"},
    {ENOTDIR, "Ένα μέρος της διαδρομής δεν είναι κατάλογος"},
    {EACCES, "Δεν επιτρέπεται η πρόσβαση"},
    {EPERM, "Η λειτουργία δεν επιτρέπεται"},
    {ENOSPC, "Δεν υπάρχει ελεύθερος χώρος στη συσκευή"},
    {EROFS, "Το σύστημα αρχείων είναι μόνο για ανάγνωση"},
    {EIO, "Σφάλμα εισόδου/εξόδου"},
    {EISDIR, "Είναι κατάλογος"},
    {EFBIG, "Το αρχείο είναι πολύ μεγάλο"},
    {EMFILE, "Υπάρχουν πάρα πολλά ανοιχτά αρχεία"},
    {ENAMETOOLONG, "Το όνομα του αρχείου είναι πολύ μεγάλο"},
};

TEST(GreekSystemErrorTest, EachKnownReasonHasItsOwnSentence) {
    std::set<std::string> seen;
    for (const KnownReason& reason : kKnownReasons) {
        SCOPED_TRACE(reason.errnum);
        EXPECT_EQ(GreekSystemError(reason.errnum), reason.greek);
        EXPECT_TRUE(seen.insert(GreekSystemError(reason.errnum)).second);
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
