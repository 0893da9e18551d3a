#include "settings/SettingsRules.h"

#include <string.h>

#include "base/ByteString.h"

bool ImagePrefixFits(const char* prefix) {
    return strlen(prefix) <= MaxImagePrefixBytes;
}

bool MaxImageNumberAllowed(int maximum) {
    return maximum >= 0;
}

void MendFileNamingSettings(char* prefix, int* maximum) {
    if (!ImagePrefixFits(prefix))
        prefix[SjisFitLength(prefix, strlen(prefix), MaxImagePrefixBytes)] = '\0';
    if (!MaxImageNumberAllowed(*maximum))
        *maximum = DefaultMaxImageNumber;
}
