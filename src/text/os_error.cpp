#include "text/os_error.h"

#include <cerrno>

namespace zorvan::text {

std::string GreekSystemError(int errnum) {
    switch (errnum) {
        case ENOENT:
            return "Δεν υπάρχει τέτοιο αρχείο ή κατάλογος";
        case ENOTDIR:
            return "Ένα μέρος της διαδρομής δεν είναι κατάλογος";
        case EACCES:
            return "Δεν επιτρέπεται η πρόσβαση";
        case EPERM:
            return "Η λειτουργία δεν επιτρέπεται";
        case ENOSPC:
            return "Δεν υπάρχει ελεύθερος χώρος στη συσκευή";
        case EROFS:
            return "Το σύστημα αρχείων είναι μόνο για ανάγνωση";
        case EIO:
            return "Σφάλμα εισόδου/εξόδου";
        case EISDIR:
            return "Είναι κατάλογος";
        case EFBIG:
            return "Το αρχείο είναι πολύ μεγάλο";
        case EMFILE:
            return "Υπάρχουν πάρα πολλά ανοιχτά αρχεία";
        case ENAMETOOLONG:
            return "Το όνομα του αρχείου είναι πολύ μεγάλο";
        default:
            return "Σφάλμα συστήματος αριθμός " + std::to_string(errnum);
    }
}

}  // namespace zorvan::text
