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
        case ENXIO:
            return "Δεν υπάρχει τέτοια συσκευή ή διεύθυνση (ίσως υποδοχή ή συσκευή χωρίς οδηγό)";
        case ELOOP:
            return "Η διαδρομή έχει πάρα πολλούς συμβολικούς δεσμούς";
        case ETXTBSY:
        case EBUSY:
            return "Το αρχείο ή η συσκευή χρησιμοποιείται";
        case EEXIST:
            return "Το αρχείο υπάρχει ήδη";
        case EDQUOT:
            return "Έχει εξαντληθεί το όριο χώρου του χρήστη";
        case EINVAL:
            return "Μη έγκυρη παράμετρος";
        default:
            return "Σφάλμα συστήματος αριθμός " + std::to_string(errnum);
    }
}

}  // namespace zorvan::text
