#pragma once
// The operator's messages of the server calls, byte for byte.

inline constexpr char16_t kConnectionMessage[] =
    u"오류가 발생했습니다. 인터넷 연결 및 설정을 확인 후 다시 시도하세요.";
inline constexpr char16_t kLoginFailedMessage[] =
    u"로그인에 실패했습니다. 관리자 설정을 확인 후 다시 시도하세요.";
inline constexpr char16_t kSmsSentMessage[] = u"인증번호가 발송되었습니다.";
