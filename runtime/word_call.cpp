// The word call. On x86-64 (System V) a small routine loads the first six words into
// registers and pushes the rest, so any argument count works without a cast to a
// guessed function type.
#include "word_call.h"

#if defined(__x86_64__) && !defined(_WIN32)

extern "C" uint64_t sorvel_call_with_words(void *routine, const uintptr_t *args, size_t count);

// rbx = args, r12 = count; the stack stays 16-byte aligned at the call.
asm(R"(
    .text
    .p2align 4
    .globl sorvel_call_with_words
    .hidden sorvel_call_with_words
    .type sorvel_call_with_words, @function
sorvel_call_with_words:
    .cfi_startproc
    pushq %rbp
    .cfi_def_cfa_offset 16
    .cfi_offset %rbp, -16
    movq %rsp, %rbp
    .cfi_def_cfa_register %rbp
    pushq %rbx
    pushq %r12
    .cfi_offset %rbx, -24
    .cfi_offset %r12, -32
    movq %rdi, %r11
    movq %rsi, %rbx
    movq %rdx, %r12
    cmpq $6, %r12
    jbe 2f
    movq %r12, %rax
    testq $1, %rax
    jz 1f
    subq $8, %rsp
1:
    decq %rax
    pushq (%rbx,%rax,8)
    cmpq $6, %rax
    ja 1b
2:
    testq %r12, %r12
    jz 3f
    movq 0(%rbx), %rdi
    cmpq $1, %r12
    je 3f
    movq 8(%rbx), %rsi
    cmpq $2, %r12
    je 3f
    movq 16(%rbx), %rdx
    cmpq $3, %r12
    je 3f
    movq 24(%rbx), %rcx
    cmpq $4, %r12
    je 3f
    movq 32(%rbx), %r8
    cmpq $5, %r12
    je 3f
    movq 40(%rbx), %r9
3:
    xorl %eax, %eax
    callq *%r11
    leaq -16(%rbp), %rsp
    popq %r12
    popq %rbx
    popq %rbp
    .cfi_def_cfa %rsp, 8
    ret
    .cfi_endproc
    .size sorvel_call_with_words, .-sorvel_call_with_words
)");

namespace rt {

uint64_t CallWithWords(void *routine, const uintptr_t *args, size_t count) {
    return sorvel_call_with_words(routine, args, count);
}

uint64_t CallWithWordsChecked(void *routine, const uintptr_t *args, size_t count, bool &stackKept) {
    stackKept = true;
    return CallWithWords(routine, args, count);
}

} // namespace rt

#elif defined(__i386__) && defined(_WIN32)

extern "C" uint64_t sorvel_call_checked(void *routine, const uintptr_t *args, size_t count, int *stackMoved);

// ebx keeps the stack pointer from before the pushes; a routine that pops a different
// number of bytes than were pushed (a wrong argument count or convention) leaves esp
// elsewhere. The stack is put back either way.
asm(R"(
    .text
    .p2align 4
    .globl _sorvel_call_checked
_sorvel_call_checked:
    pushl %ebp
    movl %esp, %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    movl 8(%ebp), %eax
    movl 12(%ebp), %esi
    movl 16(%ebp), %ecx
    movl %esp, %ebx
1:
    testl %ecx, %ecx
    jz 2f
    decl %ecx
    pushl (%esi,%ecx,4)
    jmp 1b
2:
    calll *%eax
    xorl %ecx, %ecx
    cmpl %ebx, %esp
    setne %cl
    movl %ebx, %esp
    movl 20(%ebp), %edi
    movl %ecx, (%edi)
    popl %edi
    popl %esi
    popl %ebx
    popl %ebp
    ret
)");

namespace rt {

uint64_t CallWithWordsChecked(void *routine, const uintptr_t *args, size_t count, bool &stackKept) {
    int moved = 0;
    uint64_t result = sorvel_call_checked(routine, args, count, &moved);
    stackKept = moved == 0;
    return result;
}

uint64_t CallWithWords(void *routine, const uintptr_t *args, size_t count) {
    bool kept = true;
    return CallWithWordsChecked(routine, args, count, kept);
}

} // namespace rt

#else

#include "windef.h"

namespace rt {

// Other targets: word arguments through a function type of the right arity.
uint64_t CallWithWords(void *routine, const uintptr_t *a, size_t count) {
    using W = uintptr_t;
    switch (count) {
    case 0: return reinterpret_cast<W(WINAPI *)()>(routine)();
    case 1: return reinterpret_cast<W(WINAPI *)(W)>(routine)(a[0]);
    case 2: return reinterpret_cast<W(WINAPI *)(W, W)>(routine)(a[0], a[1]);
    case 3: return reinterpret_cast<W(WINAPI *)(W, W, W)>(routine)(a[0], a[1], a[2]);
    case 4: return reinterpret_cast<W(WINAPI *)(W, W, W, W)>(routine)(a[0], a[1], a[2], a[3]);
    case 5: return reinterpret_cast<W(WINAPI *)(W, W, W, W, W)>(routine)(a[0], a[1], a[2], a[3], a[4]);
    case 6: return reinterpret_cast<W(WINAPI *)(W, W, W, W, W, W)>(routine)(a[0], a[1], a[2], a[3], a[4], a[5]);
    case 7: return reinterpret_cast<W(WINAPI *)(W, W, W, W, W, W, W)>(routine)(a[0], a[1], a[2], a[3], a[4], a[5], a[6]);
    case 8:
        return reinterpret_cast<W(WINAPI *)(W, W, W, W, W, W, W, W)>(routine)(a[0], a[1], a[2], a[3], a[4], a[5], a[6],
                                                                             a[7]);
    default: return 0; // beyond kMaxWordArguments: refused by the caller
    }
}

uint64_t CallWithWordsChecked(void *routine, const uintptr_t *args, size_t count, bool &stackKept) {
    stackKept = true;
    return CallWithWords(routine, args, count);
}

} // namespace rt

#endif
