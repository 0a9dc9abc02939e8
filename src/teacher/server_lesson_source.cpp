#include "server_lesson_source.h"

#include <optional>

#include "classroom/class_connection.h"
#include "classroom/server_class_queries.h"

namespace sumbrook {

namespace {

// The queries and the connection they read through, which outlives them.
struct ConnectedQueries {
    explicit ConnectedQueries(const ConnectionString& where) : connection(where) {}
    ClassConnection connection;
    std::optional<ServerClassQueries> queries;
};

}  // namespace

LessonPoller::Source serverLessonSource(const ConnectionString& where) {
    return [where](QString* error) {
        auto held = std::make_shared<ConnectedQueries>(where);
        if (!held->connection.open()) {
            *error = held->connection.error();
            return std::shared_ptr<ClassQueries>();
        }
        held->queries.emplace(held->connection.database());
        return std::shared_ptr<ClassQueries>(held, &*held->queries);
    };
}

}  // namespace sumbrook
