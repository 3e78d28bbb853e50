// Every Windows function the program imports, with the value it returns and
// the last error it sets when it fails. kCannotFail marks those that have no
// failure to report (void, or an answer that is never an error: a previous
// state, a predicate, a message's own result). The C runtime's functions
// (msvcrt) are not here: its allocations fail through operator new. Nor is
// the x86-64 unwinder (RtlCaptureContext and its kin), which must be called
// straight from its caller.
#pragma once

// GCC 13's run-time and later import Vista's condition variables (never the
// program users get, which Debian 12's GCC 12 builds): declared here, since
// the program's own sources see only Windows XP's API.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <cstdint>

inline constexpr std::intptr_t kCannotFail = INTPTR_MIN;

#ifdef _WIN64
#define FAULT_WINDOW_LONGS(X)                                              \
  X(GetWindowLongPtrW, 0, ERROR_INVALID_WINDOW_HANDLE)                     \
  X(SetWindowLongPtrW, 0, ERROR_INVALID_WINDOW_HANDLE)
#else
#define FAULT_WINDOW_LONGS(X)                                              \
  X(GetWindowLongW, 0, ERROR_INVALID_WINDOW_HANDLE)                        \
  X(SetWindowLongW, 0, ERROR_INVALID_WINDOW_HANDLE)
#endif

#define FAULT_FUNCTIONS(X)                                                 \
  /* comctl32 */                                                           \
  X(DefSubclassProc, kCannotFail, 0)                                       \
  X(InitCommonControlsEx, FALSE, ERROR_NOT_ENOUGH_MEMORY)                  \
  X(RemoveWindowSubclass, FALSE, ERROR_INVALID_PARAMETER)                  \
  X(SetWindowSubclass, FALSE, ERROR_NOT_ENOUGH_MEMORY)                     \
  /* comdlg32 */                                                           \
  X(ChooseColorW, FALSE, ERROR_NOT_ENOUGH_MEMORY)                          \
  /* gdi32 */                                                              \
  X(BitBlt, FALSE, ERROR_INVALID_HANDLE)                                   \
  X(CombineRgn, ERROR, ERROR_NOT_ENOUGH_MEMORY)                            \
  X(CreateCompatibleDC, 0, ERROR_NOT_ENOUGH_MEMORY)                        \
  X(CreateDIBSection, 0, ERROR_NOT_ENOUGH_MEMORY)                          \
  X(CreateFontIndirectW, 0, ERROR_NOT_ENOUGH_MEMORY)                       \
  X(CreateRectRgn, 0, ERROR_NOT_ENOUGH_MEMORY)                             \
  X(CreateSolidBrush, 0, ERROR_NOT_ENOUGH_MEMORY)                          \
  X(DeleteDC, FALSE, ERROR_INVALID_HANDLE)                                 \
  X(DeleteObject, FALSE, ERROR_INVALID_HANDLE)                             \
  X(GdiFlush, FALSE, ERROR_INVALID_HANDLE)                                 \
  X(GetDeviceCaps, 0, ERROR_INVALID_HANDLE)                                \
  X(GetPixel, CLR_INVALID, ERROR_INVALID_HANDLE)                           \
  X(GetRgnBox, ERROR, ERROR_INVALID_HANDLE)                                \
  X(SelectObject, 0, ERROR_INVALID_HANDLE)                                 \
  X(SetBkColor, CLR_INVALID, ERROR_INVALID_HANDLE)                         \
  X(SetBkMode, 0, ERROR_INVALID_HANDLE)                                    \
  X(SetTextColor, CLR_INVALID, ERROR_INVALID_HANDLE)                       \
  /* kernel32: the program's own calls */                                 \
  X(ExitProcess, kCannotFail, 0)                                           \
  X(FindResourceW, 0, ERROR_RESOURCE_NAME_NOT_FOUND)                       \
  X(GetACP, kCannotFail, 0)                                                \
  X(GetLastError, kCannotFail, 0)                                          \
  X(GetModuleHandleW, 0, ERROR_MOD_NOT_FOUND)                              \
  X(LoadResource, 0, ERROR_NOT_ENOUGH_MEMORY)                              \
  X(LockResource, 0, ERROR_NOT_ENOUGH_MEMORY)                              \
  X(OutputDebugStringA, kCannotFail, 0)                                    \
  X(SetLastError, kCannotFail, 0)                                          \
  X(SizeofResource, 0, ERROR_RESOURCE_DATA_NOT_FOUND)                      \
  X(WideCharToMultiByte, 0, ERROR_INSUFFICIENT_BUFFER)                     \
  X(lstrcmpiW, kCannotFail, 0)                                             \
  X(lstrcpynW, 0, ERROR_INVALID_PARAMETER)                                 \
  /* kernel32: the C and C++ runtime's calls (GCC 12's and GCC 14's) */  \
  X(CloseHandle, FALSE, ERROR_INVALID_HANDLE)                              \
  X(CreateSemaphoreW, 0, ERROR_NOT_ENOUGH_MEMORY)                          \
  X(DeleteCriticalSection, kCannotFail, 0)                                 \
  X(EnterCriticalSection, kCannotFail, 0)                                  \
  X(FormatMessageA, 0, ERROR_MR_MID_NOT_FOUND)                             \
  X(FreeLibrary, FALSE, ERROR_INVALID_HANDLE)                              \
  X(GetCurrentThreadId, kCannotFail, 0)                                    \
  X(GetModuleHandleA, 0, ERROR_MOD_NOT_FOUND)                              \
  X(GetProcAddress, 0, ERROR_PROC_NOT_FOUND)                               \
  X(GetStartupInfoA, kCannotFail, 0)                                       \
  X(GetSystemTimeAsFileTime, kCannotFail, 0)                               \
  X(GetThreadId, 0, ERROR_INVALID_HANDLE)                                  \
  X(InitializeConditionVariable, kCannotFail, 0)                           \
  X(InitializeCriticalSection, kCannotFail, 0)                             \
  X(IsDBCSLeadByteEx, kCannotFail, 0)                                      \
  X(LeaveCriticalSection, kCannotFail, 0)                                  \
  X(LoadLibraryA, 0, ERROR_MOD_NOT_FOUND)                                  \
  X(LoadLibraryW, 0, ERROR_MOD_NOT_FOUND)                                  \
  /* its failure hands back the memory given, which no fixed value can */ \
  X(LocalFree, kCannotFail, 0)                                             \
  X(MultiByteToWideChar, 0, ERROR_INSUFFICIENT_BUFFER)                     \
  X(RaiseException, kCannotFail, 0)                                        \
  X(ReleaseSemaphore, FALSE, ERROR_TOO_MANY_POSTS)                         \
  X(SetUnhandledExceptionFilter, kCannotFail, 0)                           \
  X(Sleep, kCannotFail, 0)                                                 \
  X(SleepConditionVariableCS, FALSE, ERROR_TIMEOUT)                        \
  X(TlsAlloc, TLS_OUT_OF_INDEXES, ERROR_NOT_ENOUGH_MEMORY)                 \
  X(TlsFree, FALSE, ERROR_INVALID_PARAMETER)                               \
  X(TlsGetValue, 0, ERROR_INVALID_PARAMETER)                               \
  X(TlsSetValue, FALSE, ERROR_INVALID_PARAMETER)                           \
  /* false only while another thread holds it: an answer, not an error */ \
  X(TryEnterCriticalSection, kCannotFail, 0)                               \
  X(VirtualProtect, FALSE, ERROR_INVALID_ADDRESS)                          \
  X(VirtualQuery, 0, ERROR_INVALID_PARAMETER)                              \
  X(WaitForSingleObject, WAIT_FAILED, ERROR_INVALID_HANDLE)                \
  X(WakeAllConditionVariable, kCannotFail, 0)                              \
  X(WakeConditionVariable, kCannotFail, 0)                                 \
  /* shell32 */                                                            \
  X(Shell_NotifyIconA, FALSE, ERROR_TIMEOUT)                               \
  /* user32 */                                                             \
  X(BeginPaint, 0, ERROR_INVALID_HANDLE)                                   \
  X(CreateWindowExW, 0, ERROR_NOT_ENOUGH_MEMORY)                           \
  X(DefWindowProcW, kCannotFail, 0)                                        \
  X(DestroyIcon, FALSE, ERROR_INVALID_CURSOR_HANDLE)                       \
  X(DestroyWindow, FALSE, ERROR_ACCESS_DENIED)                             \
  X(DispatchMessageW, kCannotFail, 0)                                      \
  X(DrawEdge, FALSE, ERROR_INVALID_HANDLE)                                 \
  X(DrawFocusRect, FALSE, ERROR_INVALID_HANDLE)                            \
  X(DrawTextW, 0, ERROR_INVALID_HANDLE)                                    \
  X(EndPaint, kCannotFail, 0)                                              \
  X(FillRect, 0, ERROR_INVALID_HANDLE)                                     \
  X(FindWindowA, 0, ERROR_NOT_ENOUGH_MEMORY)                               \
  X(FindWindowExA, 0, ERROR_NOT_ENOUGH_MEMORY)                             \
  X(GetAncestor, 0, ERROR_INVALID_WINDOW_HANDLE)                           \
  X(GetCapture, kCannotFail, 0)                                            \
  X(GetClassInfoExW, FALSE, ERROR_CLASS_DOES_NOT_EXIST)                    \
  X(GetClassNameW, 0, ERROR_INVALID_WINDOW_HANDLE)                         \
  X(GetClientRect, FALSE, ERROR_INVALID_WINDOW_HANDLE)                     \
  X(GetCursorPos, FALSE, ERROR_ACCESS_DENIED)                              \
  X(GetDC, 0, ERROR_NOT_ENOUGH_MEMORY)                                     \
  X(GetDlgCtrlID, 0, ERROR_INVALID_WINDOW_HANDLE)                          \
  X(GetFocus, kCannotFail, 0)                                              \
  X(GetKeyState, kCannotFail, 0)                                           \
  X(GetMessageW, -1, ERROR_INVALID_WINDOW_HANDLE)                          \
  X(GetSysColor, kCannotFail, 0)                                           \
  X(GetSysColorBrush, 0, ERROR_INVALID_PARAMETER)                          \
  X(GetSystemMetrics, 0, ERROR_INVALID_PARAMETER)                          \
  X(GetWindowRect, FALSE, ERROR_INVALID_WINDOW_HANDLE)                     \
  X(GetWindowTextLengthW, 0, ERROR_INVALID_WINDOW_HANDLE)                  \
  X(GetWindowTextW, 0, ERROR_INVALID_WINDOW_HANDLE)                        \
  X(InflateRect, FALSE, ERROR_INVALID_PARAMETER)                           \
  X(InvalidateRect, FALSE, ERROR_INVALID_WINDOW_HANDLE)                    \
  X(IsChild, kCannotFail, 0)                                               \
  X(IsWindow, kCannotFail, 0)                                              \
  X(IsWindowEnabled, kCannotFail, 0)                                       \
  X(IsWindowVisible, kCannotFail, 0)                                       \
  X(KillTimer, FALSE, ERROR_INVALID_PARAMETER)                             \
  X(LoadCursorW, 0, ERROR_RESOURCE_NAME_NOT_FOUND)                         \
  X(LoadImageW, 0, ERROR_RESOURCE_NAME_NOT_FOUND)                          \
  X(MessageBeep, FALSE, ERROR_NOT_ENOUGH_MEMORY)                           \
  X(MessageBoxW, 0, ERROR_NOT_ENOUGH_MEMORY)                               \
  X(OffsetRect, FALSE, ERROR_INVALID_PARAMETER)                            \
  X(PeekMessageW, kCannotFail, 0)                                          \
  X(PostQuitMessage, kCannotFail, 0)                                       \
  X(PtInRect, kCannotFail, 0)                                              \
  X(RegisterClassExW, 0, ERROR_NOT_ENOUGH_MEMORY)                          \
  X(RegisterWindowMessageW, 0, ERROR_NOT_ENOUGH_MEMORY)                    \
  X(ReleaseCapture, FALSE, ERROR_ACCESS_DENIED)                            \
  X(ReleaseDC, 0, ERROR_INVALID_HANDLE)                                    \
  X(SendMessageTimeoutA, 0, ERROR_INVALID_WINDOW_HANDLE)                   \
  X(SendMessageW, kCannotFail, 0)                                          \
  X(SetCapture, kCannotFail, 0)                                            \
  X(SetCursor, kCannotFail, 0)                                             \
  X(SetFocus, 0, ERROR_INVALID_WINDOW_HANDLE)                              \
  X(SetTimer, 0, ERROR_NOT_ENOUGH_MEMORY)                                  \
  X(SetWindowPos, FALSE, ERROR_ACCESS_DENIED)                              \
  X(SetWindowRgn, 0, ERROR_INVALID_WINDOW_HANDLE)                          \
  X(SetWindowTextW, FALSE, ERROR_NOT_ENOUGH_MEMORY)                        \
  X(ShowWindow, kCannotFail, 0)                                            \
  X(TranslateMessage, kCannotFail, 0)                                      \
  X(UpdateWindow, FALSE, ERROR_INVALID_WINDOW_HANDLE)                      \
  FAULT_WINDOW_LONGS(X)
