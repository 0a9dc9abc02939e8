#include "generate_worksheet.h"

#include "add_sub_questions.h"
#include "mul_div_questions.h"
#include "question_order.h"
#include "time_questions.h"
#include "vertical_questions.h"

namespace sumbrook {

std::variant<GeneratedWorksheet, ValidationMessage> GenerateWorksheet(
    int page, const WorksheetCounts& counts, WorksheetRandom& random,
    const ClockFaceRenderer& faces) {
    if (const std::optional<QString> refused = validatePage(page, counts)) {
        return ValidationMessage{*refused};
    }
    GeneratedWorksheet result;
    switch (page) {
        case 0:
            GenerateAddSubQuestions(counts, random, result.questions);
            break;
        case 1:
            GenerateMulDivQuestions(counts, random, result.questions);
            break;
        case 2:
            GenerateVerticalQuestions(counts, random, result.questions);
            break;
        case 3:
            GenerateTimeQuestions(counts, random, result.questions);
            break;
        default:
            break;
    }
    result.order = BuildQuestionOrder(result.questions.size(), random);
    result.sheet = FillWorksheet(page, result.questions, result.order, faces);
    result.answers = FillAnswerKey(page, result.questions, result.order, faces);
    return result;
}

}  // namespace sumbrook
