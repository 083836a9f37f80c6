// The integrity levels behind the decision whether keys pass to the
// foreground window. The security functions come from advapi32, loaded when
// the hook starts, so the library itself imports only user32 and kernel32;
// the token class of integrity levels exists from Windows Vista on, and on
// older systems the query simply fails.

#include "target_integrity_win.h"

namespace {

// Not in the Windows 2000/XP headers.
constexpr DWORD QueryLimitedInformation = 0x1000;  // PROCESS_QUERY_LIMITED_INFORMATION
constexpr int TokenIntegrityLevelClass = 25;       // TokenIntegrityLevel

using OpenProcessTokenFn = BOOL(WINAPI*)(HANDLE, DWORD, PHANDLE);
using GetTokenInformationFn = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD, PDWORD);
using GetSidSubAuthorityCountFn = PUCHAR(WINAPI*)(PSID);
using GetSidSubAuthorityFn = PDWORD(WINAPI*)(PSID, DWORD);

struct SecurityApi {
    OpenProcessTokenFn openProcessToken;
    GetTokenInformationFn getTokenInformation;
    GetSidSubAuthorityCountFn getSidSubAuthorityCount;
    GetSidSubAuthorityFn getSidSubAuthority;
};

SecurityApi Api = {};
Integrity Ours = {IntegrityAnswer::Unknown, 0};

template <typename Fn>
Fn Lookup(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

IntegrityAnswer AnswerForError(DWORD error) {
    return error == ERROR_ACCESS_DENIED ? IntegrityAnswer::AccessDenied : IntegrityAnswer::Unknown;
}

Integrity TokenIntegrity(HANDLE process) {
    HANDLE token = nullptr;
    if (!Api.openProcessToken(process, TOKEN_QUERY, &token)) {
        return {AnswerForError(GetLastError()), 0};
    }
    // A TOKEN_MANDATORY_LABEL: a SID_AND_ATTRIBUTES with the label's SID after it.
    union {
        SID_AND_ATTRIBUTES label;
        BYTE bytes[128];
    } buffer;
    DWORD size = 0;
    Integrity result = {IntegrityAnswer::Unknown, 0};
    if (Api.getTokenInformation(token, TokenIntegrityLevelClass, &buffer, sizeof buffer, &size)) {
        PSID sid = buffer.label.Sid;
        const UCHAR count = *Api.getSidSubAuthorityCount(sid);
        if (count > 0) {
            result = {IntegrityAnswer::Known, *Api.getSidSubAuthority(sid, count - 1u)};
        }
    } else {
        result.answer = AnswerForError(GetLastError());
    }
    CloseHandle(token);
    return result;
}

}  // namespace

void StartIntegrityChecks() {
    HMODULE advapi = LoadLibraryW(L"advapi32.dll");
    if (advapi != nullptr) {
        Api.openProcessToken = Lookup<OpenProcessTokenFn>(advapi, "OpenProcessToken");
        Api.getTokenInformation = Lookup<GetTokenInformationFn>(advapi, "GetTokenInformation");
        Api.getSidSubAuthorityCount = Lookup<GetSidSubAuthorityCountFn>(advapi, "GetSidSubAuthorityCount");
        Api.getSidSubAuthority = Lookup<GetSidSubAuthorityFn>(advapi, "GetSidSubAuthority");
    }
    Ours = QueryProcessIntegrity(GetCurrentProcessId());
    if (Ours.answer != IntegrityAnswer::Known) {
        Ours = {IntegrityAnswer::Unknown, 0};  // a system without levels
    }
}

Integrity OurIntegrity() {
    return Ours;
}

Integrity QueryProcessIntegrity(unsigned long processId) {
    if (Api.openProcessToken == nullptr || Api.getTokenInformation == nullptr ||
        Api.getSidSubAuthorityCount == nullptr || Api.getSidSubAuthority == nullptr) {
        return {IntegrityAnswer::Unknown, 0};
    }
    // The limited right is granted for more processes, but is unknown
    // before Vista.
    HANDLE process = OpenProcess(QueryLimitedInformation, FALSE, processId);
    if (process == nullptr) {
        process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId);
    }
    if (process == nullptr) {
        return {AnswerForError(GetLastError()), 0};
    }
    const Integrity result = TokenIntegrity(process);
    CloseHandle(process);
    return result;
}
