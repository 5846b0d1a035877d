#include "number_commands.h"

#include <cmath>

#include "core_library.h"
#include "gbk.h"
#include "value_numbers.h"

namespace cmd {
namespace {

using Step = double (*)(double running, double divisor);

double DivideStep(double running, double divisor) { return std::trunc(running / divisor); }
double RemainderStep(double running, double divisor) { return std::fmod(running, divisor); }

// Folds the divisors into the first argument; a zero divisor is a runtime error.
void WalkDivisors(rt::TypedValue *result, int32_t count, const rt::TypedValue *args, Step step,
                  const char *zeroMessage) {
    double running = count > 0 ? NumberOf(args[0]) : 0.0;
    for (int32_t i = 1; i < count; ++i) {
        double divisor = NumberOf(args[i]);
        if (divisor == 0) {
            ReportProblem(rt::GbkLiteral(zeroMessage));
            return;
        }
        running = step(running, divisor);
    }
    *result = rt::MakeDouble(running);
}

} // namespace

void IntegerDivide(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    WalkDivisors(result, count, args, DivideStep, "不能整除于零");
}

void Remainder(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    WalkDivisors(result, count, args, RemainderStep, "不能求余数于零");
}

int32_t CombineBits(BitOperation operation, int32_t count, const rt::TypedValue *args) {
    uint32_t bits = count > 0 ? uint32_t(IntegerOf(args[0])) : 0;
    for (int32_t i = 1; i < count; ++i) {
        uint32_t next = uint32_t(IntegerOf(args[i]));
        bits = operation == kBitAnd ? bits & next : operation == kBitOr ? bits | next : bits ^ next;
    }
    return int32_t(bits);
}

void BitOr(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    *result = rt::MakeInteger(CombineBits(kBitOr, count, args));
}

const CommandEntry kNumberCommands[] = {
    {"IntegerDivide", IntegerDivide, 1},
    {"Remainder", Remainder, 1},
    {"BitOr", BitOr, 1},
    {nullptr, nullptr, 0},
};

} // namespace cmd
