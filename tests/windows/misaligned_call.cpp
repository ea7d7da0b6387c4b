#include "misaligned_call.h"

#if defined(__i386__)
// The frame pointer keeps the caller's stack; the arguments are stored, not pushed, so the stack
// pointer at the call is exactly a 16-byte boundary plus the offset.
asm(R"(
    .text
    .globl _qevCallMisaligned
_qevCallMisaligned:
    pushl %ebp
    movl %esp, %ebp
    andl $-16, %esp
    subl $32, %esp
    addl 20(%ebp), %esp
    movl 12(%ebp), %eax
    movl %eax, (%esp)
    movl 16(%ebp), %eax
    movl %eax, 4(%esp)
    call *8(%ebp)
    movl %ebp, %esp
    popl %ebp
    ret

    .globl _qevStackAtCall
_qevStackAtCall:
    leal 4(%esp), %eax
    ret
)");
#else
uintptr_t qevCallMisaligned(QevTwoArgumentCall function, void* a, void* b, uint32_t) {
    return function(a, b);
}
uintptr_t qevStackAtCall(void*, void*) {
    return 0;
}
#endif
